#include "ui/wx/dbaware/grid_table.h"

#include "ui/dbaware/db_grid.h"
#include "ui/wx/convert.h"

namespace ui::wx {

TwwGridTable::TwwGridTable(TwwDBGrid& model) : FModel(model), FCheckBoxAttr(new wxGridCellAttr) {
  FCheckBoxAttr->SetReadOnly();
  FCheckBoxAttr->SetAlignment(wxALIGN_CENTRE, wxALIGN_CENTRE);
}

TwwGridTable::~TwwGridTable() {
  FCheckBoxAttr->DecRef();
}

int TwwGridTable::GetNumberRows() {
  return FModel.RowCount();
}

int TwwGridTable::GetNumberCols() {
  return FModel.ColumnCount();
}

wxString TwwGridTable::GetValue(int row, int col) {
  if (FModel.ColumnIsCheckBox(col)) return FModel.CellChecked(row, col) ? "1" : "";
  return ToWx(FModel.CellText(row, col));
}

void TwwGridTable::SetValue(int, int, const wxString&) {}

wxString TwwGridTable::GetTypeName(int, int col) {
  return FModel.ColumnIsCheckBox(col) ? wxGRID_VALUE_BOOL : wxGRID_VALUE_STRING;
}

bool TwwGridTable::CanGetValueAs(int, int col, const wxString& typeName) {
  return typeName == (FModel.ColumnIsCheckBox(col) ? wxGRID_VALUE_BOOL : wxGRID_VALUE_STRING);
}

bool TwwGridTable::GetValueAsBool(int row, int col) {
  return FModel.CellChecked(row, col);
}

wxString TwwGridTable::GetColLabelValue(int col) {
  if (col < 0 || col >= FModel.ColumnCount()) return {};
  return ToWx(FModel.Columns()[static_cast<std::size_t>(col)].Title);
}

// The row labels are the indicator column, which the grid view draws.
wxString TwwGridTable::GetRowLabelValue(int) {
  return {};
}

wxGridCellAttr* TwwGridTable::GetAttr(int, int col, wxGridCellAttr::wxAttrKind) {
  if (!FModel.ColumnIsCheckBox(col)) return nullptr;
  FCheckBoxAttr->IncRef();
  return FCheckBoxAttr;
}

}  // namespace ui::wx
