#pragma once

#include <wx/grid.h>

namespace ui {
class TwwDBGrid;
}

namespace ui::wx {

// The rows of a TwwDBGrid as the wx grid asks for them, cell by cell and only for what it
// paints. A check-box column is a read-only boolean column: one click on it toggles the model,
// never an editor. Values go into the model through the cell editor, never through SetValue.
class TwwGridTable : public wxGridTableBase {
 public:
  explicit TwwGridTable(TwwDBGrid& model);
  ~TwwGridTable() override;

  int GetNumberRows() override;
  int GetNumberCols() override;
  wxString GetValue(int row, int col) override;
  void SetValue(int row, int col, const wxString& value) override;
  wxString GetTypeName(int row, int col) override;
  bool CanGetValueAs(int row, int col, const wxString& typeName) override;
  bool GetValueAsBool(int row, int col) override;
  wxString GetColLabelValue(int col) override;
  wxString GetRowLabelValue(int row) override;
  bool CanHaveAttributes() override { return true; }
  wxGridCellAttr* GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind) override;

 private:
  TwwDBGrid& FModel;
  wxGridCellAttr* FCheckBoxAttr;
};

}  // namespace ui::wx
