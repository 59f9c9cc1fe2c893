#include "dbengine/field.h"

#include "dbengine/dataset.h"
#include "dbengine/value_text.h"

namespace dbengine {

bool TField::IsNull() const {
  return FDataSet.CurrentCell(FIndex).Kind == CellKind::Null;
}

std::string TField::AsString() const {
  return CellText(FDataSet.CurrentCell(FIndex), FDataType);
}

bool TField::AsBoolean() const {
  return CellBoolean(FDataSet.CurrentCell(FIndex));
}

void TField::SetAsString(const std::string& value) {
  FDataSet.SetCurrentCell(FIndex, ValueFromText(value, FDataType));
}

// A yes/no or number field stores 1 or 0; a text field the words.
void TField::SetAsBoolean(bool value) {
  if (FDataType == ftWideString || FDataType == ftUnknown || FDataType == ftDateTime)
    return SetAsString(value ? "True" : "False");
  CellValue cell;
  cell.Kind = CellKind::Integer;
  cell.Integer = value ? 1 : 0;
  FDataSet.SetCurrentCell(FIndex, std::move(cell));
}

void TField::Clear() {
  FDataSet.SetCurrentCell(FIndex, CellValue{});
}

}  // namespace dbengine
