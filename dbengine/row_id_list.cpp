#include "dbengine/row_id_list.h"

#include <algorithm>

namespace dbengine {

RowIdList::RowIdList(sqlite3* db, RowSelection selection, int pageSize)
    : FDb(db), FSelection(std::move(selection)), FPageSize(std::max(pageSize, 1)) {}

std::string RowIdList::OrderedStatement(bool reversed, bool paged) const {
  std::string sql = "SELECT rowid FROM " + FSelection.Table;
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

void RowIdList::Read() {
  FIds.clear();
  FPages.clear();
  FCount = 0;
  Statement ordered(FDb, OrderedStatement(false, false));
  ordered.Bind(FSelection.Parameters);
  ResetAtEnd done(ordered);
  std::vector<std::int64_t> first;
  while (static_cast<int>(first.size()) < FPageSize && ordered.Step())
    first.push_back(ordered.ColumnInteger(0));
  // SQLite sorts (or filters) everything before the first row comes: the rest costs little more.
  if (static_cast<int>(first.size()) < FPageSize || ordered.Sorted() ||
      !FSelection.Condition.empty()) {
    FIds = ReadAll(ordered, std::move(first));
    FCount = static_cast<int>(FIds.size());
    return;
  }
  Statement count(FDb, "SELECT count(*) FROM " + FSelection.Table);
  count.Step();
  FCount = std::max(static_cast<int>(count.ColumnInteger(0)), FPageSize);
  FPages.resize(static_cast<std::size_t>((FCount + FPageSize - 1) / FPageSize));
  FPages.front() = std::move(first);
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
  std::unique_ptr<Statement>& statement = backward ? FBackwardPage : FForwardPage;
  if (!statement) statement = std::make_unique<Statement>(FDb, OrderedStatement(backward, true));
  statement->BindInteger(1, size);
  statement->BindInteger(2, backward ? FCount - end : begin);
  std::vector<std::int64_t> ids;
  {
    ResetAtEnd done(*statement);
    while (static_cast<int>(ids.size()) < size && statement->Step())
      ids.push_back(statement->ColumnInteger(0));
  }
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
  Statement ordered(FDb, OrderedStatement(false, false));
  ResetAtEnd done(ordered);
  FIds = ReadAll(ordered, {});
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
