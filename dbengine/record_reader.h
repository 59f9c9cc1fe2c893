#pragma once

// Internal to this layer: turns the rows of a statement into packed rows.

#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/row_buffer.h"
#include "dbengine/statement.h"

namespace dbengine {

class RecordReader {
 public:
  // When firstColumnIsRowId, the statement's first column is the rowid and no field of its own.
  RecordReader(sqlite3* db, const std::string& sql, bool firstColumnIsRowId);

  const std::vector<ColumnInfo>& Columns() const { return FColumns; }
  Statement& Query() { return FStatement; }
  // Reads the next row into the record's values and rowid; false when there is none.
  bool Read(Record& into);
  // Steps over the next row without reading it; false when there is none.
  bool Skip() { return FStatement.Step(); }
  // Back to the first row; the statement's read lock is let go until the next read.
  void Restart() { FStatement.Reset(); }

 private:
  Statement FStatement;
  int FFirstColumn;
  int FColumnCount;
  std::vector<ColumnInfo> FColumns;
  std::vector<CellView> FCells;  // the current row's, reused from row to row
};

}  // namespace dbengine
