#include "dbengine/record_reader.h"

namespace dbengine {

RecordReader::RecordReader(sqlite3* db, const std::string& sql, bool firstColumnIsRowId)
    : FStatement(db, sql),
      FFirstColumn(firstColumnIsRowId ? 1 : 0),
      FColumnCount(FStatement.ColumnCount()),
      FColumns(FStatement.DescribeColumns(FFirstColumn)),
      FCells(FColumns.size()) {}

bool RecordReader::Read(Record& into) {
  if (!FStatement.Step()) return false;
  into.RowId = FFirstColumn > 0 ? FStatement.ColumnInteger(0) : 0;
  for (int i = FFirstColumn; i < FColumnCount; ++i)
    FCells[static_cast<std::size_t>(i - FFirstColumn)] = FStatement.Column(i);
  into.Values = RowBuffer::Pack(FCells);
  return true;
}

}  // namespace dbengine
