#include "dbengine/table_source.h"

#include <algorithm>
#include <utility>

namespace dbengine {
namespace {

// Pages of values held at once: a few screenfuls above and below the one shown.
constexpr int kCachedPages = 8;

TLeading Leading(const TableAccess& table) {
  return table.Versioned() ? TLeading::KeyAndVersion : TLeading::Key;
}

}  // namespace

TableSource::TableSource(Storage& storage, std::unique_ptr<TableAccess> table,
                         RowSelection selection, int pageSize)
    : FTable(std::move(table)),
      FIds(storage, std::move(selection), pageSize),
      FCache(pageSize, kCachedPages),
      FPage(FTable->RowsByKeys(FCache.PageSize()), Leading(*FTable)),
      FRange(FTable->RowsInRange(), Leading(*FTable)) {}

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
    std::vector<std::int64_t> keys;
    for (const auto& [key, slot] : wanted) keys.push_back(key);
    FTable->BindKeys(statement, keys, size);
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

std::optional<std::int64_t> TableSource::Version(int position) {
  if (!FTable->Versioned()) return std::nullopt;
  const RowBuffer& row = Row(position);
  if (row.Empty()) return std::nullopt;
  // Kept behind the fields' values.
  return row.Cell(static_cast<int>(Columns().size())).Integer;
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
  const std::int64_t rowId = FTable->InsertRow(ColumnNames(), values, changed);
  FIds.Insert(std::min(position, Count()), rowId);
  FCache.Clear();
  return rowId;
}

void TableSource::UpdateRow(std::int64_t rowId, std::optional<std::int64_t> version,
                            const std::vector<CellValue>& values,
                            const std::vector<bool>& changed) {
  // Whatever happens, the page is read again: it may show another desk's change now.
  FCache.Clear();
  FTable->UpdateRow(rowId, version, ColumnNames(), values, changed);
}

void TableSource::DeleteRow(std::int64_t rowId, std::optional<std::int64_t> version) {
  FCache.Clear();
  FTable->DeleteRow(rowId, version);
  const int position = FIds.Find(rowId);
  if (position >= 0) FIds.Erase(position);
  FCache.Clear();
}

}  // namespace dbengine
