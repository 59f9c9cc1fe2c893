#pragma once

// Internal to this layer: where a static cursor reads its rows.

#include <cstdint>
#include <optional>
#include <vector>

#include "dbengine/errors.h"
#include "dbengine/row_buffer.h"
#include "dbengine/statement.h"

namespace dbengine {

// The rows of a static cursor, by position in their order, read a page at a time. A table's rows
// are named by their rowids and take changes; a query's are neither.
class RowSource {
 public:
  virtual ~RowSource() = default;

  virtual const std::vector<ColumnInfo>& Columns() const = 0;
  // Reads which rows there are and their order, again.
  virtual void Read() = 0;
  virtual int Count() const = 0;
  // The stored values of the row at a position (0 <= position < Count()); an empty buffer when
  // the row went away since the list was read. Valid until the next call.
  virtual const RowBuffer& Row(int position) = 0;

  // What finds a row again after its position changed: its rowid. None for a query's rows.
  virtual std::optional<std::int64_t> RowId(int position) {
    (void)position;
    return std::nullopt;
  }
  // The position of the row with this rowid among the rows read so far; -1 when they do not
  // hold it (Settle reads the rest).
  virtual int Find(std::int64_t rowId) {
    (void)rowId;
    return -1;
  }

  virtual bool CanModify() const { return false; }
  // Reads every row not read yet, so that a change cannot shift rows still to be read and every
  // rowid can be found; answers whether it read anything, after which positions may have moved
  // (another connection's changes came to light).
  virtual bool Settle() { return false; }
  // Stores a new row, shown at the position; answers its rowid.
  virtual std::int64_t InsertRow(int position, const std::vector<CellValue>& values,
                                 const std::vector<bool>& changed) {
    (void)position, (void)values, (void)changed;
    throw EDatabaseError("Cannot modify a read-only dataset");
  }
  virtual void UpdateRow(std::int64_t rowId, const std::vector<CellValue>& values,
                         const std::vector<bool>& changed) {
    (void)rowId, (void)values, (void)changed;
    throw EDatabaseError("Cannot modify a read-only dataset");
  }
  virtual void DeleteRow(std::int64_t rowId) {
    (void)rowId;
    throw EDatabaseError("Cannot modify a read-only dataset");
  }
};

}  // namespace dbengine
