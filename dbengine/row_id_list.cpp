#include "dbengine/row_id_list.h"

#include <algorithm>

namespace dbengine {

RowIdList::RowIdList(Storage& storage, RowSelection selection, int pageSize)
    : FStorage(storage), FSelection(std::move(selection)), FPageSize(std::max(pageSize, 1)) {}

std::string RowIdList::OrderedStatement(bool reversed, bool paged) const {
  std::string sql = "SELECT " + FSelection.Key + " FROM " + FSelection.Table;
  if (!FSelection.Condition.empty()) sql += " WHERE (" + FSelection.Condition + ")";
  sql += " ORDER BY " + (reversed ? FSelection.ReversedOrderBy : FSelection.OrderBy);
  // Only a list without a condition is read by pages, so these numbers meet no :name of it.
  if (paged) sql += " LIMIT ?1 OFFSET ?2";
  return sql;
}

std::vector<std::int64_t> RowIdList::ReadAll(Statement& ordered, std::vector<std::int64_t> ids) {
  while (ordered.Step()) ids.push_back(ordered.ColumnInteger(0));
  return ids;
}

// Reads the new list aside and takes it only once it is whole: a failure (the storage gone just
// now) leaves the list as it was.
void RowIdList::Read() {
  // An index is known to give the order: the first page is read by LIMIT, the list counted by
  // the same statement (its count is worked out once, beside the page).
  if (FSelection.Condition.empty() && FSelection.IndexedOrder.value_or(false)) {
    const std::unique_ptr<Statement> counted = FStorage.Prepare(
        "SELECT (SELECT count(*) FROM " + FSelection.Table + "), " + FSelection.Key + " FROM " +
            FSelection.Table + " ORDER BY " + FSelection.OrderBy + " LIMIT ?1",
        TReading::Few);
    counted->BindInteger(1, FPageSize);
    ResetAtEnd done(*counted);
    std::vector<std::int64_t> first;
    std::int64_t count = 0;
    while (counted->Step()) {
      count = counted->ColumnInteger(0);
      first.push_back(counted->ColumnInteger(1));
    }
    if (static_cast<int>(first.size()) < FPageSize) return TakeWhole(std::move(first));
    return TakePages(std::move(first), count);
  }
  const std::unique_ptr<Statement> statement =
      FStorage.Prepare(OrderedStatement(false, false), TReading::WithinCall);
  Statement& ordered = *statement;
  ordered.Bind(FSelection.Parameters);
  ResetAtEnd done(ordered);
  std::vector<std::int64_t> first;
  while (static_cast<int>(first.size()) < FPageSize && ordered.Step())
    first.push_back(ordered.ColumnInteger(0));
  // The storage sorts (or filters) everything before the first row comes: the rest costs little
  // more.
  if (static_cast<int>(first.size()) < FPageSize || !FSelection.Condition.empty() ||
      (FSelection.IndexedOrder ? !*FSelection.IndexedOrder : ordered.Sorted()))
    return TakeWhole(ReadAll(ordered, std::move(first)));
  const std::unique_ptr<Statement> count =
      FStorage.Prepare("SELECT count(*) FROM " + FSelection.Table, TReading::Few);
  ResetAtEnd counted(*count);
  count->Step();
  TakePages(std::move(first), count->ColumnInteger(0));
}

void RowIdList::TakeWhole(std::vector<std::int64_t> ids) {
  FIds = std::move(ids);
  FCount = static_cast<int>(FIds.size());
  FPages.clear();
}

void RowIdList::TakePages(std::vector<std::int64_t> first, std::int64_t count) {
  FCount = std::max(static_cast<int>(count), FPageSize);
  FIds.clear();
  FPages.assign(static_cast<std::size_t>((FCount + FPageSize - 1) / FPageSize), {});
  FPages.front() = std::move(first);
}

std::vector<std::int64_t> RowIdList::PageOfIds(bool backward, int offset, int size) {
  std::unique_ptr<Statement>& statement = backward ? FBackwardPage : FForwardPage;
  if (!statement) statement = FStorage.Prepare(OrderedStatement(backward, true), TReading::Few);
  statement->BindInteger(1, size);
  statement->BindInteger(2, offset);
  std::vector<std::int64_t> ids;
  ResetAtEnd done(*statement);
  while (static_cast<int>(ids.size()) < size && statement->Step())
    ids.push_back(statement->ColumnInteger(0));
  return ids;
}

std::int64_t RowIdList::At(int position) {
  if (Whole()) return FIds[static_cast<std::size_t>(position)];
  const auto page = static_cast<std::size_t>(position / FPageSize);
  if (FPages[page].empty()) ReadPages(static_cast<int>(page));
  return FPages[page][static_cast<std::size_t>(position % FPageSize)];
}

void RowIdList::ReadPages(int page) {
  const int pages = static_cast<int>(FPages.size());
  const auto read = [this](int p) { return FPages[static_cast<std::size_t>(p)].size() > 0; };
  int before = 0;
  while (page - before - 1 >= 0 && read(page - before - 1)) ++before;
  int after = 0;
  while (page + after + 1 < pages && read(page + after + 1)) ++after;
  // A walk reads as many pages ahead as it has come through already (at least one).
  int first = page;
  int last = page;
  if (before >= after) {
    while (last + 1 < pages && !read(last + 1) && last - page + 1 < before) ++last;
  } else {
    while (first - 1 >= 0 && !read(first - 1) && page - first + 1 < after) --first;
  }
  ReadRange(first * FPageSize, std::min((last + 1) * FPageSize, FCount));
}

void RowIdList::ReadRange(int begin, int end) {
  const int size = end - begin;
  // OFFSET steps over the rows before the range: from the nearer end that is at most half.
  const bool backward = begin > FCount - end;
  std::vector<std::int64_t> ids = PageOfIds(backward, backward ? FCount - end : begin, size);
  // Rows that went away meanwhile leave their positions without a row: at the far end of the
  // range from where it was read.
  const auto missing = static_cast<std::size_t>(size) - ids.size();
  if (backward) {
    std::reverse(ids.begin(), ids.end());
    ids.insert(ids.begin(), missing, kNoRow);
  } else {
    ids.insert(ids.end(), missing, kNoRow);
  }
  for (int position = begin; position < end; position += FPageSize) {
    const auto from = ids.begin() + (position - begin);
    FPages[static_cast<std::size_t>(position / FPageSize)].assign(
        from, from + std::min(FPageSize, end - position));
  }
}

int RowIdList::Find(std::int64_t rowId) const {
  if (!Whole()) {
    for (std::size_t page = 0; page < FPages.size(); ++page) {
      const std::vector<std::int64_t>& ids = FPages[page];
      const auto found = std::find(ids.begin(), ids.end(), rowId);
      if (found != ids.end())
        return static_cast<int>(page) * FPageSize + static_cast<int>(found - ids.begin());
    }
    return -1;
  }
  const auto found = std::find(FIds.begin(), FIds.end(), rowId);
  return found == FIds.end() ? -1 : static_cast<int>(found - FIds.begin());
}

void RowIdList::ReadWhole() {
  if (Whole()) return;
  const std::unique_ptr<Statement> ordered =
      FStorage.Prepare(OrderedStatement(false, false), TReading::WithinCall);
  ResetAtEnd done(*ordered);
  FIds = ReadAll(*ordered, {});
  FCount = static_cast<int>(FIds.size());
  FPages.clear();
}

void RowIdList::Insert(int position, std::int64_t rowId) {
  ReadWhole();
  FIds.insert(FIds.begin() + position, rowId);
  ++FCount;
}

void RowIdList::Erase(int position) {
  ReadWhole();
  FIds.erase(FIds.begin() + position);
  --FCount;
}

}  // namespace dbengine
