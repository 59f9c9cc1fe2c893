#pragma once

// Internal to this layer: turns the rows of a statement into Records.

#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/field_def.h"
#include "dbengine/row_buffer.h"
#include "dbengine/statement.h"

namespace dbengine {

struct ColumnInfo {
  std::string Name;
  TFieldDef Def;
};

class RecordReader {
 public:
  // When firstColumnIsRowId, the statement's first column is the rowid and no field of its own.
  RecordReader(sqlite3* db, const std::string& sql, bool firstColumnIsRowId);

  const std::vector<ColumnInfo>& Columns() const { return FColumns; }
  Statement& Query() { return FStatement; }
  // Reads the next row into the record's values and rowid; false when there is none.
  bool Read(Record& into);
  void Restart() { FStatement.Reset(); }

 private:
  void DescribeColumns(sqlite3* db);

  Statement FStatement;
  int FFirstColumn;
  int FColumnCount;
  std::vector<ColumnInfo> FColumns;
  RowBuilder FBuilder;
};

}  // namespace dbengine
