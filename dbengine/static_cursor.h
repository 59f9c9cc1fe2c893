#pragma once

// Internal to this layer: the cursor of a list read by pages.

#include <memory>
#include <optional>

#include "dbengine/cursor.h"
#include "dbengine/row_source.h"

namespace dbengine {

// A list of rows that is counted exactly, walked either way and bookmarked, with a new row shown
// at once where it was inserted until it is stored or dropped. It holds no rows itself: its
// RowSource reads them a page at a time as they are asked for.
class StaticCursor final : public Cursor {
 public:
  // Reads the rows; the first becomes current.
  explicit StaticCursor(std::unique_ptr<RowSource> rows);

  const std::vector<ColumnInfo>& Columns() const override { return FRows->Columns(); }
  int RecordCount() const override { return FRows->Count() + (FPending >= 0 ? 1 : 0); }
  int Current() const override { return FCurrent; }
  int RecNo() const override { return FCurrent + 1; }
  bool Bof() const override { return FBof; }
  bool Eof() const override { return FEof; }
  bool IsEmpty() const override { return RecordCount() == 0; }

  bool First() override;
  bool Last() override;
  bool SetRecNo(int recNo) override;
  bool GotoBookmark(const TBookmark& bookmark) override;
  int MoveBy(int distance) override;

  bool Reachable(int position) const override;
  const RowBuffer& Row(int position) override;
  const RowBuffer& CurrentRow() override;

  void Refresh(bool fileChanged) override;
  std::optional<std::int64_t> CurrentRowId() override;
  void Locate(std::int64_t rowId) override;

  TBookmark Bookmark() override;
  bool BookmarkValid(const TBookmark& bookmark) override;

  bool CanModify() const override { return FRows->CanModify(); }
  void InsertPending() override;
  void DropPending() override;
  void StorePending(const std::vector<CellValue>& values,
                    const std::vector<bool>& changed) override;
  void StoreCurrent(const std::vector<CellValue>& values,
                    const std::vector<bool>& changed) override;
  void DeleteCurrent() override;

 private:
  // The row's position in the source's list; the new row has none.
  int ListPosition(int position) const;
  int ShownPosition(int listPosition) const;
  bool MoveTo(int position);
  // The shown position of the row with this rowid, reading the rest of the list when needed;
  // -1 when it is not shown.
  int PositionOfRow(std::int64_t rowId);
  int PositionOf(const TBookmark& bookmark);
  // Reads the rest of the list before a change or a search; the current record stays current.
  void Settle();
  void EndsAfterChange();

  std::unique_ptr<RowSource> FRows;
  int FCurrent = -1;
  bool FBof = true;
  bool FEof = true;
  // The new row, not yet stored: its position, and where its rowid goes once it is.
  int FPending = -1;
  std::shared_ptr<std::optional<std::int64_t>> FPendingStored;
  // Counts the readings of the rows: a bookmark by position holds only within one.
  std::uint64_t FReading = 1;
  // The current record's values while they stay where the source keeps them: forgotten when
  // another record becomes current, the rows are read or changed, or another page is read.
  const RowBuffer* FCurrentRow = nullptr;
};

}  // namespace dbengine
