#include "ui/dbaware/db_grid.h"

#include <algorithm>

#include "dbengine/dataset.h"
#include "dbengine/field.h"
#include "ui/dbaware/confirm_delete.h"

namespace ui {

namespace {

// The text a yes/no field reads when it is ticked.
constexpr const char* kTrueText = "True";

bool Pending(dbengine::TDataSetState state) {
  return state == dbengine::dsEdit || state == dbengine::dsInsert;
}

}  // namespace

TwwDBGrid::TwwDBGrid(std::string name, Screen& screen, const TForm* owner)
    : TControl(name), IButton(name + "IButton"), FScreen(screen), FOwner(owner) {
  IButton.SetVisible(false);
}

// ---- columns and options ----

void TwwDBGrid::SetColumns(std::vector<TwwColumn> columns) {
  CloseEditor();
  FColumns = std::move(columns);
  ResolveFields();
  FFixedCols = std::min(FFixedCols, std::max(0, ColumnCount() - 1));
  FCol = std::clamp(FCol, 0, std::max(0, ColumnCount() - 1));
  Changed.Emit();
  RowsChanged.Emit();
}

void TwwDBGrid::ResolveFields() {
  FFieldIndex.assign(FColumns.size(), -1);
  dbengine::TDataSet* dataSet = DataSet();
  if (dataSet == nullptr || !dataSet->Active()) return;
  for (std::size_t i = 0; i < FColumns.size(); ++i) {
    if (dbengine::TField* field = dataSet->FindField(FColumns[i].FieldName))
      FFieldIndex[i] = field->Index();
  }
}

int TwwDBGrid::ColumnFieldIndex(int col) const {
  if (!Active() || col < 0 || col >= ColumnCount()) return -1;
  return FFieldIndex[static_cast<std::size_t>(col)];
}

dbengine::TField* TwwDBGrid::ColumnField(int col) const {
  const int index = ColumnFieldIndex(col);
  return index < 0 ? nullptr : &DataSet()->Fields(index);
}

bool TwwDBGrid::ColumnIsCheckBox(int col) const {
  const dbengine::TField* field = ColumnField(col);
  return field != nullptr && field->DataType() == dbengine::ftBoolean;
}

void TwwDBGrid::SetOptions(const TwwDBGridOptions& options) {
  FOptions = options;
  if (!FOptions.Editing) CloseEditor();
  Changed.Emit();
}

void TwwDBGrid::SetTitleColor(std::optional<TColor> color) {
  FTitleColor = color;
  Changed.Emit();
}

void TwwDBGrid::SetFixedCols(int count) {
  if (count < 0 || count >= ColumnCount() || count == FFixedCols) return;
  FFixedCols = count;
  Changed.Emit();
}

// ---- what a view paints ----

int TwwDBGrid::RowCount() const {
  return Active() ? std::max(0, DataSet()->RecordCount()) : 0;
}

std::string TwwDBGrid::ReadCell(int record, int field) const {
  return DataSet()->CellText(record, field);
}

std::string TwwDBGrid::CellText(int row, int col) const {
  const int field = ColumnFieldIndex(col);
  if (field < 0 || row < 0 || row >= RowCount()) return {};
  return ReadCell(row, field);
}

bool TwwDBGrid::CellChecked(int row, int col) const {
  return ColumnIsCheckBox(col) && CellText(row, col) == kTrueText;
}

TRowIndicator TwwDBGrid::RowIndicator(int row) const {
  if (row < 0 || row != Row()) return TRowIndicator::None;
  switch (DataSet()->State()) {
    case dbengine::dsEdit:
      return TRowIndicator::Editing;
    case dbengine::dsInsert:
      return TRowIndicator::Inserting;
    default:
      return TRowIndicator::Current;
  }
}

// ---- the current cell ----

int TwwDBGrid::Row() const {
  return Active() ? DataSet()->RecNo() - 1 : -1;
}

void TwwDBGrid::SetCurrentCell(int row, int col) {
  const bool rowMoves = row >= 0 && row < RowCount() && row != Row();
  const bool colMoves = col >= 0 && col < ColumnCount() && col != FCol;
  if (!rowMoves && !colMoves) return;
  // The editor's text belongs to the cell it was opened on, so it goes in before anything moves.
  CommitEdit();
  const int previousCol = FCol;
  if (colMoves) FCol = col;
  if (rowMoves) {
    try {
      DataSet()->SetRecNo(row + 1);
    } catch (...) {
      // The pending record could not be stored: the user stays where the error happened.
      FCol = previousCol;
      throw;
    }
  }
  CloseEditor();
  if (!rowMoves) CurrentChanged.Emit();
}

// ---- in-place editing ----

bool TwwDBGrid::CanEditCurrentCell() const {
  if (!FOptions.Editing || Row() < 0 || !DataSet()->CanModify()) return false;
  const dbengine::TField* field = ColumnField(FCol);
  return field != nullptr && field->DataType() != dbengine::ftBoolean &&
         field->DataType() != dbengine::ftAutoInc;
}

bool TwwDBGrid::BeginCellEdit() {
  if (FEditorOpen) return true;
  if (!CanEditCurrentCell() || !DataSource()->Edit()) return false;
  FEditorOpen = true;
  FEditorText = ColumnField(FCol)->AsString();
  RowsChanged.Emit();
  return true;
}

void TwwDBGrid::SetEditorText(const std::string& text) {
  if (FEditorOpen) FEditorText = text;
}

void TwwDBGrid::EndCellEdit(bool accept) {
  if (!FEditorOpen) return;
  if (accept) CommitEdit();
  CloseEditor();
}

void TwwDBGrid::CommitEdit() {
  if (!FEditorOpen) return;
  dbengine::TField* field = ColumnField(FCol);
  if (field == nullptr || field->AsString() == FEditorText) return;
  if (DataSource()->Edit()) field->SetAsString(FEditorText);
}

void TwwDBGrid::CloseEditor() {
  FEditorOpen = false;
  FEditorText.clear();
}

// ---- the user ----

bool TwwDBGrid::ClickCell(int row, int col) {
  if (!FOptions.Editing || !ColumnIsCheckBox(col) || row < 0 || row >= RowCount() ||
      !DataSet()->CanModify())
    return false;
  SetCurrentCell(row, col);
  ToggleCheckBox();
  return true;
}

void TwwDBGrid::ToggleCheckBox() {
  dbengine::TField* field = ColumnField(FCol);
  if (field == nullptr || !DataSource()->Edit()) return;
  field->SetAsBoolean(!field->AsBoolean());
}

bool TwwDBGrid::KeyDown(TKey key, TShiftState shift) {
  // Records are added only through the forms' own dialogs, never from the grid.
  if (key == VK_INSERT) return true;
  if (key == VK_DELETE && (shift & ssCtrl) != 0) {
    DeleteCurrentRecord();
    return true;
  }
  if (key == VK_SPACE && shift == 0 && !FEditorOpen && FOptions.Editing && ColumnIsCheckBox(FCol) &&
      Row() >= 0 && DataSet()->CanModify()) {
    ToggleCheckBox();
    return true;
  }
  return false;
}

void TwwDBGrid::DeleteCurrentRecord() {
  if (!FOptions.Editing || !Active() || DataSet()->IsEmpty() || !DataSet()->CanModify()) return;
  if (!ConfirmDelete(FScreen, FOwner)) return;
  CloseEditor();
  DataSet()->Delete();
}

void TwwDBGrid::DoExit() {
  if (!Active()) return;
  dbengine::TDataSet& dataSet = *DataSet();
  const dbengine::TField* field = FEditorOpen ? ColumnField(FCol) : nullptr;
  const bool typed = field != nullptr && field->AsString() != FEditorText;
  if (dataSet.State() == dbengine::dsInsert && !dataSet.Modified() && !typed) {
    CloseEditor();
    dataSet.Cancel();
    return;
  }
  CommitEdit();
}

// ---- the data set ----

void TwwDBGrid::ActiveChanged() {
  CloseEditor();
  ResolveFields();
  RowsChanged.Emit();
  CurrentChanged.Emit();
}

void TwwDBGrid::StateChanged() {
  if (FEditorOpen && !Pending(DataSource()->State())) {
    CloseEditor();
    CurrentChanged.Emit();
  }
  RowsChanged.Emit();
}

void TwwDBGrid::RecordChanged(const dbengine::TField*) {
  RowsChanged.Emit();
}

void TwwDBGrid::DataSetChanged() {
  CloseEditor();
  RowsChanged.Emit();
  CurrentChanged.Emit();
}

void TwwDBGrid::DataSetScrolled() {
  CloseEditor();
  RowsChanged.Emit();
  CurrentChanged.Emit();
}

}  // namespace ui
