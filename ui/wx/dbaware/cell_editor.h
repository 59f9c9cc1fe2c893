#pragma once

#include <wx/grid.h>

#include "ui/dbaware/db_grid.h"
#include "ui/wx/convert.h"
#include "ui/wx/form_view.h"

namespace ui::wx {

// The in-place editor of a text cell (TBase: the one-line or the word-wrapping text editor). It
// tells the model every change of its text, so that an export can commit an editor that is still
// open, and hands the model its final text when it closes; the model puts it into the record,
// where it stays pending.
template <class TBase>
class TwwCellEditor : public TBase {
 public:
  TwwCellEditor(TFormView& form, TwwDBGrid& model) : FForm(form), FModel(model) {}

  void Create(wxWindow* parent, wxWindowID id, wxEvtHandler* evtHandler) override {
    TBase::Create(parent, id, evtHandler);
    this->GetControl()->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
      FModel.SetEditorText(FromWx(this->GetValue()));
      event.Skip();
    });
  }

  // Escape has already put the starting text back, so the model sees no change then.
  bool EndEdit(int, int, const wxGrid*, const wxString&, wxString*) override {
    FModel.SetEditorText(FromWx(this->GetValue()));
    // Text that is no value of the field is reported and dropped: an editor the grid no longer
    // shows must not keep the record from being left.
    if (!FForm.Guarded([this] { FModel.EndCellEdit(true); })) FModel.EndCellEdit(false);
    return false;  // the model holds the value; there is nothing to write into the table
  }

  void ApplyEdit(int, int, wxGrid*) override {}

  wxGridCellEditor* Clone() const override { return new TwwCellEditor(FForm, FModel); }

 private:
  TFormView& FForm;
  TwwDBGrid& FModel;
};

}  // namespace ui::wx
