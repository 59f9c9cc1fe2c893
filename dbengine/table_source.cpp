#include "dbengine/table_source.h"

#include <algorithm>
#include <utility>

#include "dbengine/table_rows.h"

namespace dbengine {
namespace {

// Pages of values held at once: a few screenfuls above and below the one shown.
constexpr int kCachedPages = 8;

std::string PageStatement(const std::string& table, int pageSize) {
  std::string sql = SelectRowsStatement(table) + " WHERE rowid IN (";
  for (int i = 0; i < pageSize; ++i) sql += i == 0 ? "?" : ",?";
  return sql + ")";
}

}  // namespace

TableSource::TableSource(sqlite3* db, std::string table, RowSelection selection, int pageSize)
    : FDb(db),
      FTable(std::move(table)),
      FIds(db, std::move(selection), pageSize),
      FCache(pageSize, kCachedPages),
      FPage(db, PageStatement(FTable, FCache.PageSize()), true),
      FRange(db, SelectRowsStatement(FTable) + " WHERE rowid BETWEEN ?1 AND ?2", true) {}

void TableSource::Read() {
  FCache.Clear();
  FIds.Read();
}

const RowBuffer& TableSource::Row(int position) {
  if (const RowBuffer* row = FCache.Find(position)) return *row;
  ReadPage(FCache.PageOf(position));
  return *FCache.Find(position);
}

void TableSource::ReadPage(int page) {
  const int size = FCache.PageSize();
  const int first = page * size;
  const int count = std::min(size, Count() - first);
  // Each rowid with its place in the page; the statement gives the rows in rowid order.
  std::vector<std::pair<std::int64_t, int>> wanted;
  for (int i = 0; i < count; ++i) {
    const std::int64_t rowId = FIds.At(first + i);
    if (rowId != RowIdList::kNoRow) wanted.emplace_back(rowId, i);
  }
  std::sort(wanted.begin(), wanted.end());
  // A range costs one walk along the table, but reads the rows between that the page does not
  // show: worth it while they are few.
  const bool range = !wanted.empty() && static_cast<std::uint64_t>(wanted.back().first) -
                                                static_cast<std::uint64_t>(wanted.front().first) <
                                            2 * static_cast<std::uint64_t>(wanted.size());
  RecordReader& reader = range ? FRange : FPage;
  Statement& statement = reader.Query();
  if (range) {
    statement.BindInteger(1, wanted.front().first);
    statement.BindInteger(2, wanted.back().first);
  } else {
    for (int slot = 0; slot < size; ++slot)
      statement.Bind(slot + 1, slot < static_cast<int>(wanted.size())
                                   ? CellView{CellKind::Integer, wanted[slot].first, 0, {}}
                                   : CellView{});
  }
  std::vector<RowBuffer> rows(static_cast<std::size_t>(count));
  {
    ResetAtEnd done(statement);
    Record record;
    while (reader.Read(record)) {
      auto [from, to] = std::equal_range(
          wanted.begin(), wanted.end(), std::pair<std::int64_t, int>(record.RowId, 0),
          [](const auto& a, const auto& b) { return a.first < b.first; });
      // The same rowid twice in a page only when pages were read across another's changes.
      for (auto it = from; it != to; ++it)
        rows[static_cast<std::size_t>(it->second)] =
            std::next(it) == to ? std::move(record.Values) : record.Values.Copy();
    }
  }
  FCache.Put(page, std::move(rows));
}

std::optional<std::int64_t> TableSource::RowId(int position) {
  const std::int64_t rowId = FIds.At(position);
  if (rowId == RowIdList::kNoRow) return std::nullopt;
  return rowId;
}

int TableSource::Find(std::int64_t rowId) {
  return FIds.Find(rowId);
}

bool TableSource::Settle() {
  if (FIds.Whole()) return false;
  FIds.ReadWhole();
  FCache.Clear();
  return true;
}

std::vector<std::string> TableSource::ColumnNames() const {
  std::vector<std::string> names;
  for (const ColumnInfo& column : Columns()) names.push_back(column.Name);
  return names;
}

std::int64_t TableSource::InsertRow(int position, const std::vector<CellValue>& values,
                                    const std::vector<bool>& changed) {
  const std::int64_t rowId = dbengine::InsertRow(FDb, FTable, ColumnNames(), values, changed);
  FIds.Insert(std::min(position, Count()), rowId);
  FCache.Clear();
  return rowId;
}

void TableSource::UpdateRow(std::int64_t rowId, const std::vector<CellValue>& values,
                            const std::vector<bool>& changed) {
  dbengine::UpdateRow(FDb, FTable, rowId, ColumnNames(), values, changed);
  FCache.Clear();
}

void TableSource::DeleteRow(std::int64_t rowId) {
  dbengine::DeleteRow(FDb, FTable, rowId);
  const int position = FIds.Find(rowId);
  if (position >= 0) FIds.Erase(position);
  FCache.Clear();
}

}  // namespace dbengine
