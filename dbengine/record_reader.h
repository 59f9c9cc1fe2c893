#pragma once

// Internal to this layer: turns the rows of a statement into packed rows.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbengine/row_buffer.h"
#include "dbengine/statement.h"

namespace dbengine {

// What a statement gives before the columns of its rows' fields.
enum class TLeading : std::uint8_t {
  None,
  // The row's key.
  Key,
  // The row's key and its version, kept as one more value behind the fields'.
  KeyAndVersion,
};

class RecordReader {
 public:
  RecordReader(std::unique_ptr<Statement> statement, TLeading leading);

  // Asked of the statement when first wanted: a reader that is never used asks nothing.
  const std::vector<ColumnInfo>& Columns() const;
  Statement& Query() { return *FStatement; }
  // Reads the next row into the record's values and key; false when there is none.
  bool Read(Record& into);
  // Steps over the next row without reading it; false when there is none.
  bool Skip() { return FStatement->Step(); }
  // Back to the first row; what the statement holds of its storage is let go until the next read.
  void Restart() { FStatement->Reset(); }

 private:
  std::unique_ptr<Statement> FStatement;
  TLeading FLeading;
  int FFirstColumn;
  mutable std::optional<std::vector<ColumnInfo>> FColumns;
  std::vector<CellView> FCells;  // the current row's, reused from row to row
  int FFields = -1;              // once known
};

}  // namespace dbengine
