#include "dbengine/record_reader.h"

namespace dbengine {

RecordReader::RecordReader(std::unique_ptr<Statement> statement, TLeading leading)
    : FStatement(std::move(statement)),
      FLeading(leading),
      FFirstColumn(leading == TLeading::None  ? 0
                   : leading == TLeading::Key ? 1
                                              : 2) {}

const std::vector<ColumnInfo>& RecordReader::Columns() const {
  if (!FColumns) FColumns = FStatement->DescribeColumns(FFirstColumn);
  return *FColumns;
}

bool RecordReader::Read(Record& into) {
  if (!FStatement->Step()) return false;
  if (FFields < 0) {
    FFields = static_cast<int>(Columns().size());
    FCells.resize(static_cast<std::size_t>(FFields) +
                  (FLeading == TLeading::KeyAndVersion ? 1 : 0));
  }
  into.RowId = FLeading != TLeading::None ? FStatement->ColumnInteger(0) : 0;
  FStatement->Columns(FFirstColumn, FFields, FCells.data());
  if (FLeading == TLeading::KeyAndVersion) FCells.back() = FStatement->Column(1);
  into.Values = RowBuffer::Pack(FCells);
  return true;
}

}  // namespace dbengine
