#pragma once

// Internal to this layer: the cursor that streams a statement's rows.

#include <memory>

#include "dbengine/cursor.h"
#include "dbengine/record_reader.h"

namespace dbengine {

// A statement's rows one at a time, front to back, holding only the current one: for walks over
// any number of rows (the label export). It cannot count, go back, jump, bookmark or change
// rows; First runs the statement again. Until the last row is passed, the statement holds the
// file's read lock: another connection's writes wait for it.
class ForwardCursor final : public Cursor {
 public:
  // Reads the first row.
  explicit ForwardCursor(std::unique_ptr<RecordReader> reader);

  const std::vector<ColumnInfo>& Columns() const override { return FReader->Columns(); }
  int RecordCount() const override { return -1; }
  int Current() const override { return FHasRow ? FRecNo - 1 : -1; }
  int RecNo() const override { return FHasRow ? FRecNo : 0; }
  bool Bof() const override { return FBof; }
  bool Eof() const override { return FEof; }
  bool IsEmpty() const override { return !FHasRow; }

  bool First() override;
  bool Last() override;
  bool SetRecNo(int recNo) override;
  bool GotoBookmark(const TBookmark& bookmark) override;
  int MoveBy(int distance) override;

  bool Reachable(int position) const override { return FHasRow && position == FRecNo - 1; }
  const RowBuffer& Row(int position) override;
  const RowBuffer& CurrentRow() override { return FRow.Values; }

  void Refresh(bool) override { Restart(); }
  std::optional<std::int64_t> CurrentRowId() override { return std::nullopt; }
  // The stream stays on its first row.
  void Locate(std::int64_t) override {}

  TBookmark Bookmark() override;
  bool BookmarkValid(const TBookmark&) override { return false; }

  bool CanModify() const override { return false; }
  void InsertPending() override { Refuse("A change"); }
  void DropPending() override {}
  void StorePending(const std::vector<CellValue>&, const std::vector<bool>&) override {
    Refuse("A change");
  }
  void StoreCurrent(const std::vector<CellValue>&, const std::vector<bool>&) override {
    Refuse("A change");
  }
  void DeleteCurrent() override { Refuse("A change"); }

 private:
  [[noreturn]] static void Refuse(const char* operation);
  void Restart();

  std::unique_ptr<RecordReader> FReader;
  Record FRow;
  bool FHasRow = false;
  int FRecNo = 0;
  bool FBof = true;
  bool FEof = true;
};

}  // namespace dbengine
