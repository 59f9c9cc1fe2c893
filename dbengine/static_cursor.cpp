#include "dbengine/static_cursor.h"

#include <algorithm>

namespace dbengine {
namespace {

const RowBuffer kNoValues;

}  // namespace

StaticCursor::StaticCursor(std::unique_ptr<RowSource> rows) : FRows(std::move(rows)) {
  FRows->Read();
  FCurrent = FRows->Count() > 0 ? 0 : -1;
  FEof = FRows->Count() == 0;
}

int StaticCursor::ListPosition(int position) const {
  if (FPending < 0 || position < FPending) return position;
  return position == FPending ? -1 : position - 1;
}

int StaticCursor::ShownPosition(int listPosition) const {
  if (listPosition < 0) return -1;
  return FPending >= 0 && listPosition >= FPending ? listPosition + 1 : listPosition;
}

bool StaticCursor::MoveTo(int position) {
  const int last = RecordCount() - 1;
  position = std::clamp(position, std::min(0, last), last);
  if (position == FCurrent) return false;
  FCurrent = position;
  FCurrentRow = nullptr;
  // The record that becomes current is the one at this place now: its rowid is read at once, so
  // that what another connection changes later cannot make another row current.
  const int listPosition = ListPosition(FCurrent);
  if (listPosition >= 0) FRows->RowId(listPosition);
  return true;
}

// ---- moving ----

bool StaticCursor::First() {
  const bool moved = MoveTo(0);
  FBof = true;
  FEof = IsEmpty();
  return moved;
}

bool StaticCursor::Last() {
  const bool moved = MoveTo(RecordCount() - 1);
  FEof = true;
  FBof = IsEmpty();
  return moved;
}

bool StaticCursor::SetRecNo(int recNo) {
  const bool moved = MoveTo(recNo - 1);
  FBof = FEof = IsEmpty();
  return moved;
}

int StaticCursor::MoveBy(int distance) {
  const int before = FCurrent;
  // Far past either end only reaches that end.
  const long long target = static_cast<long long>(FCurrent) + distance;
  MoveTo(static_cast<int>(std::clamp<long long>(target, -1, RecordCount())));
  const int moved = FCurrent - before;
  if (IsEmpty()) {
    FBof = FEof = true;
  } else if (distance != 0) {
    FEof = distance > 0 && moved < distance;
    FBof = distance < 0 && moved > distance;
  }
  return moved;
}

bool StaticCursor::GotoBookmark(const TBookmark& bookmark) {
  const int position = PositionOf(bookmark);
  if (position < 0) throw EDatabaseError("Record not found");
  const bool moved = MoveTo(position);
  FBof = FEof = false;
  return moved;
}

// ---- values ----

bool StaticCursor::Reachable(int position) const {
  return position >= 0 && position < RecordCount();
}

const RowBuffer& StaticCursor::Row(int position) {
  const int listPosition = ListPosition(position);
  if (listPosition < 0) return kNoValues;
  // Reading another record's page may push the current record's out.
  if (position != FCurrent) FCurrentRow = nullptr;
  return FRows->Row(listPosition);
}

const RowBuffer& StaticCursor::CurrentRow() {
  if (FCurrentRow == nullptr) FCurrentRow = &Row(FCurrent);
  return *FCurrentRow;
}

// ---- reading again ----

void StaticCursor::Refresh(bool fileChanged) {
  if (!fileChanged) return;
  FCurrentRow = nullptr;
  const std::optional<std::int64_t> current = CurrentRowId();
  const int previous = FCurrent;
  FRows->Read();
  ++FReading;
  FCurrent = -1;
  const int found = current ? PositionOfRow(*current) : -1;
  const int last = RecordCount() - 1;
  FCurrent = found >= 0 ? found : std::clamp(previous, std::min(0, last), last);
  FBof = FEof = IsEmpty();
}

std::optional<std::int64_t> StaticCursor::CurrentRowId() {
  const int listPosition = ListPosition(FCurrent);
  if (listPosition < 0) return std::nullopt;
  return FRows->RowId(listPosition);
}

void StaticCursor::Locate(std::int64_t rowId) {
  const int found = PositionOfRow(rowId);
  if (found < 0) return;
  MoveTo(found);
  FBof = FEof = false;
}

int StaticCursor::PositionOfRow(std::int64_t rowId) {
  int found = FRows->Find(rowId);
  if (found < 0) {
    Settle();
    found = FRows->Find(rowId);
  }
  return ShownPosition(found);
}

void StaticCursor::Settle() {
  const std::optional<std::int64_t> current = CurrentRowId();
  if (!FRows->Settle()) return;
  FCurrentRow = nullptr;
  // Rows another connection added or removed may have come to light and moved the current one.
  if (FPending >= 0) {
    FPending = std::min(FPending, FRows->Count());
    FCurrent = FPending;
    return;
  }
  const int found = current ? ShownPosition(FRows->Find(*current)) : -1;
  const int last = RecordCount() - 1;
  FCurrent = found >= 0 ? found : std::clamp(FCurrent, std::min(0, last), last);
}

// ---- bookmarks ----

TBookmark StaticCursor::Bookmark() {
  TBookmark bookmark;
  if (FCurrent < 0) return bookmark;
  if (FCurrent == FPending) {
    bookmark.FKind = TBookmark::TKind::NewRow;
    bookmark.FStored = FPendingStored;
  } else if (const std::optional<std::int64_t> rowId = CurrentRowId()) {
    bookmark.FKind = TBookmark::TKind::RowId;
    bookmark.FKey = *rowId;
  } else {
    bookmark.FKind = TBookmark::TKind::Position;
    bookmark.FKey = ListPosition(FCurrent);
    bookmark.FReading = FReading;
  }
  return bookmark;
}

int StaticCursor::PositionOf(const TBookmark& bookmark) {
  switch (bookmark.FKind) {
    case TBookmark::TKind::None:
      return -1;
    case TBookmark::TKind::RowId:
      return PositionOfRow(bookmark.FKey);
    case TBookmark::TKind::NewRow:
      if (FPending >= 0 && bookmark.FStored == FPendingStored) return FPending;
      return *bookmark.FStored ? PositionOfRow(**bookmark.FStored) : -1;
    case TBookmark::TKind::Position:
      return bookmark.FReading == FReading && bookmark.FKey < FRows->Count()
                 ? ShownPosition(static_cast<int>(bookmark.FKey))
                 : -1;
  }
  return -1;
}

bool StaticCursor::BookmarkValid(const TBookmark& bookmark) {
  return PositionOf(bookmark) >= 0;
}

// ---- changes ----

void StaticCursor::InsertPending() {
  FCurrentRow = nullptr;
  FPending = std::max(FCurrent, 0);
  FCurrent = FPending;
  FPendingStored = std::make_shared<std::optional<std::int64_t>>();
  FBof = FEof = false;
}

void StaticCursor::EndsAfterChange() {
  FCurrentRow = nullptr;
  FCurrent = std::min(FCurrent, RecordCount() - 1);
  FBof = FEof = IsEmpty();
}

void StaticCursor::DropPending() {
  FPending = -1;
  FPendingStored.reset();
  EndsAfterChange();
}

void StaticCursor::StorePending(const std::vector<CellValue>& values,
                                const std::vector<bool>& changed) {
  Settle();
  const std::int64_t rowId = FRows->InsertRow(FPending, values, changed);
  FCurrentRow = nullptr;
  *FPendingStored = rowId;
  FPendingStored.reset();
  FPending = -1;
}

void StaticCursor::StoreCurrent(const std::vector<CellValue>& values,
                                const std::vector<bool>& changed) {
  Settle();
  const std::optional<std::int64_t> rowId = CurrentRowId();
  if (!rowId) throw EDatabaseError("The record cannot be found; another user may have deleted it.");
  FRows->UpdateRow(*rowId, values, changed);
  FCurrentRow = nullptr;
}

void StaticCursor::DeleteCurrent() {
  Settle();
  const std::optional<std::int64_t> rowId = CurrentRowId();
  if (!rowId) throw EDatabaseError("The record cannot be found; another user may have deleted it.");
  FRows->DeleteRow(*rowId);
  EndsAfterChange();
}

}  // namespace dbengine
