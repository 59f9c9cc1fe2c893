#include "ui/wx/control_views.h"

#include <wx/frame.h>

#include <vector>

#include "ui/wx/convert.h"
#include "ui/wx/form_view.h"
#include "ui/wx/glyphs.h"

namespace ui::wx {

TButtonView::TButtonView(TFormView& form, wxWindow* parent, TButton& model, const wxRect& rect)
    : wxButton(parent, wxID_ANY, ToWx(model.Caption()), rect.GetPosition(), rect.GetSize(),
               wxBORDER_NONE | wxBU_EXACTFIT),
      FModel(model),
      FBinding(form, model, *this, [this] { Refresh(); }) {
  SetCanFocus(false);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { FBinding.Guarded([this] { FModel.Click(); }); });
  FBinding.Refresh();
}

void TButtonView::Refresh() {
  wxString caption = ToWx(FModel.Caption());
  if (GetLabelText() != caption) SetLabelText(caption);
  if (FModel.Glyph() != FShownGlyph && FModel.Glyph() != TGlyph::None) {
    SetBitmap(GlyphBitmap(FModel.Glyph()));
    SetBitmapMargins(0, 0);
  }
  FShownGlyph = FModel.Glyph();
}

TLabelView::TLabelView(TFormView& form, wxWindow* parent, TLabel& model, const wxRect& rect,
                       long style)
    : wxStaticText(parent, wxID_ANY, wxEmptyString, rect.GetPosition(), rect.GetSize(), style),
      FModel(model),
      FBinding(form, model, *this, [this] {
        wxString caption = ToWx(FModel.Caption());
        if (GetLabelText() != caption) SetLabelText(caption);
      }) {
  FBinding.Refresh();
}

TEditView::TEditView(TFormView& form, wxWindow* parent, TEdit& model, const wxRect& rect)
    : wxTextCtrl(parent, wxID_ANY, ToWx(model.Text()), rect.GetPosition(), rect.GetSize(),
                 wxTE_PROCESS_ENTER),
      FModel(model),
      FBinding(form, model, *this, [this] { Refresh(); }) {
  Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    FBinding.Guarded([this] { FModel.SetText(FromWx(GetValue())); });
  });
  Bind(wxEVT_CHAR, [this](wxKeyEvent& event) {
    wxChar key = event.GetUnicodeKey();
    if (key == WXK_NONE) {  // arrows and the like: the box's own business
      event.Skip();
      return;
    }
    bool reaches = false;
    FBinding.Guarded([&] { reaches = FModel.KeyPress(static_cast<char32_t>(key)); });
    if (reaches) event.Skip();
  });
  FBinding.Refresh();
}

void TEditView::Refresh() {
  wxString text = ToWx(FModel.Text());
  if (GetValue() != text) ChangeValue(text);
}

TCheckBoxView::TCheckBoxView(TFormView& form, wxWindow* parent, TCheckBox& model,
                             const wxRect& rect)
    : wxCheckBox(parent, wxID_ANY, wxEmptyString, rect.GetPosition(), rect.GetSize()),
      FModel(model),
      FBinding(form, model, *this, [this] { Refresh(); }) {
  Bind(wxEVT_CHECKBOX,
       [this](wxCommandEvent&) { FBinding.Guarded([this] { FModel.SetChecked(GetValue()); }); });
  FBinding.Refresh();
}

void TCheckBoxView::Refresh() {
  wxString caption = ToWx(FModel.Caption());
  if (GetLabelText() != caption) SetLabelText(caption);
  if (GetValue() != FModel.Checked()) SetValue(FModel.Checked());
}

TStatusBarView::TStatusBarView(TFormView& form, wxFrame* frame, TStatusBar& model, int height)
    : wxStatusBar(frame, wxID_ANY),
      FModel(model),
      FBinding(form, model, *this, [this] { Refresh(); }) {
  SetMinHeight(height);
  frame->SetStatusBar(this);
  FBinding.Refresh();
}

void TStatusBarView::Refresh() {
  const auto& panels = FModel.Panels();
  if (panels.empty()) return;
  std::vector<int> widths;
  for (const auto& panel : panels) widths.push_back(panel.Width);
  if (GetFieldsCount() != static_cast<int>(panels.size())) {
    SetFieldsCount(static_cast<int>(panels.size()), widths.data());
  } else {
    SetStatusWidths(static_cast<int>(widths.size()), widths.data());
  }
  for (std::size_t i = 0; i < panels.size(); ++i) {
    wxString text = ToWx(panels[i].Text);
    if (GetStatusText(static_cast<int>(i)) != text) SetStatusText(text, static_cast<int>(i));
  }
}

TTimerView::TTimerView(TFormView& form, TTimer& model) : FForm(form), FModel(model) {
  FChangedId = model.Changed.Connect([this] { Refresh(); });
  Refresh();
}

TTimerView::~TTimerView() {
  FModel.Changed.Disconnect(FChangedId);
}

void TTimerView::Refresh() {
  if (FModel.Running()) {
    Start(FModel.Interval());
  } else {
    Stop();
  }
}

void TTimerView::Notify() {
  FForm.Guarded([this] { FModel.Timer(); });
}

wxPanel* MakePanel(wxWindow* parent, const wxRect& rect, const wxColour& colour, long border) {
  auto* panel =
      new wxPanel(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), border | wxTAB_TRAVERSAL);
  panel->SetBackgroundColour(colour.IsOk() ? colour : parent->GetBackgroundColour());
  return panel;
}

}  // namespace ui::wx
