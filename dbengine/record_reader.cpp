#include "dbengine/record_reader.h"

namespace dbengine {

RecordReader::RecordReader(std::unique_ptr<Statement> statement, TLeading leading)
    : FStatement(std::move(statement)),
      FLeading(leading),
      FFirstColumn(leading == TLeading::None  ? 0
                   : leading == TLeading::Key ? 1
                                              : 2),
      FColumnCount(FStatement->ColumnCount()),
      FColumns(FStatement->DescribeColumns(FFirstColumn)),
      FCells(FColumns.size() + (leading == TLeading::KeyAndVersion ? 1 : 0)) {}

bool RecordReader::Read(Record& into) {
  if (!FStatement->Step()) return false;
  into.RowId = FLeading != TLeading::None ? FStatement->ColumnInteger(0) : 0;
  for (int i = FFirstColumn; i < FColumnCount; ++i)
    FCells[static_cast<std::size_t>(i - FFirstColumn)] = FStatement->Column(i);
  if (FLeading == TLeading::KeyAndVersion) FCells.back() = FStatement->Column(1);
  into.Values = RowBuffer::Pack(FCells);
  return true;
}

}  // namespace dbengine
