#pragma once

// Internal to this layer: how a dataset moves through its rows and reaches their values.

#include <cstdint>
#include <optional>
#include <vector>

#include "dbengine/dataset.h"
#include "dbengine/row_buffer.h"
#include "dbengine/statement.h"

namespace dbengine {

// A dataset's rows and its current record. A static cursor (StaticCursor) shows a list that is
// counted, walked either way, bookmarked and changed; a forward-only cursor (ForwardCursor)
// streams a statement's rows once, front to back. Positions are 0-based.
class Cursor {
 public:
  virtual ~Cursor() = default;

  virtual const std::vector<ColumnInfo>& Columns() const = 0;
  // Rows in the list, a new row not yet stored included; -1 when they cannot be counted without
  // reading them all.
  virtual int RecordCount() const = 0;
  // The current record's position; -1 when there is none.
  virtual int Current() const = 0;
  // 1-based number of the current record, 0 when there is none.
  virtual int RecNo() const = 0;
  virtual bool Bof() const = 0;
  virtual bool Eof() const = 0;
  virtual bool IsEmpty() const = 0;

  // Each answers whether another record became current.
  virtual bool First() = 0;
  virtual bool Last() = 0;
  virtual bool SetRecNo(int recNo) = 0;
  virtual bool GotoBookmark(const TBookmark& bookmark) = 0;
  // Answers the records moved (negative backwards).
  virtual int MoveBy(int distance) = 0;

  // Whether a record's values can be read without moving: any of a list, the stream's current.
  virtual bool Reachable(int position) const = 0;
  // A record's stored values; an empty buffer reads as null in every field (a new row, or one
  // that went away). Valid until the cursor is used again.
  virtual const RowBuffer& Row(int position) = 0;
  // The current record's, found without a search while it stays current: what a walk reading
  // every field of every record asks for most.
  virtual const RowBuffer& CurrentRow() = 0;

  // What Refresh does with the rows, told whether the file changed since they were read: a
  // list is read again only then (the current record stays current while it is still there,
  // else the position stays); a stream always starts over.
  virtual void Refresh(bool fileChanged) = 0;
  // The current record's rowid, to find it again in another cursor; none when rows have none.
  virtual std::optional<std::int64_t> CurrentRowId() = 0;
  // After the first read: makes the row with this rowid current, when there is one.
  virtual void Locate(std::int64_t rowId) = 0;

  virtual TBookmark Bookmark() = 0;
  virtual bool BookmarkValid(const TBookmark& bookmark) = 0;

  // Changes; only a cursor that CanModify takes them.
  virtual bool CanModify() const = 0;
  // A new row before the current one (or as the first), made current.
  virtual void InsertPending() = 0;
  virtual void DropPending() = 0;
  virtual void StorePending(const std::vector<CellValue>& values,
                            const std::vector<bool>& changed) = 0;
  virtual void StoreCurrent(const std::vector<CellValue>& values,
                            const std::vector<bool>& changed) = 0;
  virtual void DeleteCurrent() = 0;
};

}  // namespace dbengine
