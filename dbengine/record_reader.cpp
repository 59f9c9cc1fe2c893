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
  const std::size_t fields = Columns().size();
  FCells.resize(fields + (FLeading == TLeading::KeyAndVersion ? 1 : 0));
  into.RowId = FLeading != TLeading::None ? FStatement->ColumnInteger(0) : 0;
  for (std::size_t i = 0; i < fields; ++i)
    FCells[i] = FStatement->Column(static_cast<int>(i) + FFirstColumn);
  if (FLeading == TLeading::KeyAndVersion) FCells.back() = FStatement->Column(1);
  into.Values = RowBuffer::Pack(FCells);
  return true;
}

}  // namespace dbengine
