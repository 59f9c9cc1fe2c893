#include "dbengine/record_reader.h"

namespace dbengine {

RecordReader::RecordReader(sqlite3* db, const std::string& sql, bool firstColumnIsRowId)
    : FStatement(db, sql),
      FFirstColumn(firstColumnIsRowId ? 1 : 0),
      FColumnCount(FStatement.ColumnCount()),
      FColumns(FStatement.DescribeColumns(FFirstColumn)) {}

bool RecordReader::Read(Record& into) {
  if (!FStatement.Step()) return false;
  into.RowId = FFirstColumn > 0 ? FStatement.ColumnInteger(0) : 0;
  for (int i = FFirstColumn; i < FColumnCount; ++i) FBuilder.Add(FStatement.Column(i));
  into.Values = FBuilder.Build();
  return true;
}

}  // namespace dbengine
