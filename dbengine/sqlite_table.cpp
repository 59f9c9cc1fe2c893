#include "dbengine/sqlite_table.h"

#include "dbengine/errors.h"
#include "dbengine/quoting.h"
#include "dbengine/sqlite_statement.h"

namespace dbengine {
namespace {

std::string SelectRows(const std::string& table) {
  return "SELECT rowid, * FROM " + table;
}

}  // namespace

SqliteTable::SqliteTable(sqlite3* db, const std::string& table, bool writable)
    : TableAccess(QuotedIdentifier(table), "rowid"), FDb(db), FName(table), FWritable(writable) {}

// Brackets, not double quotes: SQLite would take an unknown name in double quotes for a text
// constant and sort by nothing instead of reporting the missing field.
std::string SqliteTable::OrderTerm(const std::string& column, bool descending) const {
  const std::string reference =
      column.find(']') == std::string::npos ? "[" + column + "]" : QuotedIdentifier(column);
  return descending ? reference + " DESC" : reference;
}

std::unique_ptr<Statement> SqliteTable::RowsByKeys(int count) {
  std::string sql = SelectRows(Table()) + " WHERE rowid IN (";
  for (int i = 0; i < count; ++i) sql += i == 0 ? "?" : ",?";
  return std::make_unique<SqliteStatement>(FDb, sql + ")");
}

void SqliteTable::BindKeys(Statement& statement, const std::vector<std::int64_t>& keys, int count) {
  for (int slot = 0; slot < count; ++slot)
    statement.Bind(slot + 1, slot < static_cast<int>(keys.size())
                                 ? CellView{CellKind::Integer, keys[slot], 0, {}}
                                 : CellView{});
}

std::unique_ptr<Statement> SqliteTable::RowsInRange() {
  return std::make_unique<SqliteStatement>(FDb,
                                           SelectRows(Table()) + " WHERE rowid BETWEEN ?1 AND ?2");
}

std::int64_t SqliteTable::InsertRow(const std::vector<std::string>& columns,
                                    const std::vector<CellValue>& values,
                                    const std::vector<bool>& changed) {
  std::string names;
  std::string slots;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!changed[i]) continue;
    if (!names.empty()) {
      names += ',';
      slots += ',';
    }
    names += QuotedIdentifier(columns[i]);
    slots += '?';
  }
  const std::string target = "INSERT INTO " + Table();
  SqliteStatement insert(FDb, names.empty() ? target + " DEFAULT VALUES"
                                            : target + " (" + names + ") VALUES (" + slots + ")");
  int slot = 0;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (changed[i]) insert.Bind(++slot, values[i].View());
  insert.Step();
  return insert.LastInsertRowId();
}

// A file has one writer at a time and rows have no versions: what another process stored in
// between is the file's, and this change goes over it.
void SqliteTable::UpdateRow(std::int64_t key, std::optional<std::int64_t>,
                            const std::vector<std::string>& columns,
                            const std::vector<CellValue>& values,
                            const std::vector<bool>& changed) {
  std::string assignments;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!changed[i]) continue;
    if (!assignments.empty()) assignments += ',';
    assignments += QuotedIdentifier(columns[i]) + "=?";
  }
  if (assignments.empty()) {
    // Nothing to store, but the row must still be there.
    SqliteStatement find(FDb, "SELECT 1 FROM " + Table() + " WHERE rowid=?");
    find.BindInteger(1, key);
    if (!find.Step()) throw EDatabaseError(kRecordGoneMessage);
    return;
  }
  SqliteStatement update(FDb, "UPDATE " + Table() + " SET " + assignments + " WHERE rowid=?");
  int slot = 0;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (changed[i]) update.Bind(++slot, values[i].View());
  update.BindInteger(++slot, key);
  update.Step();
  if (update.Changes() == 0) throw EDatabaseError(kRecordGoneMessage);
}

void SqliteTable::DeleteRow(std::int64_t key, std::optional<std::int64_t>) {
  SqliteStatement remove(FDb, "DELETE FROM " + Table() + " WHERE rowid=?");
  remove.BindInteger(1, key);
  remove.Step();
}

// Without the index, opening a large table, jumping to its end and scrolling would each sort
// every row. A failure changes nothing: the rows are then sorted when read.
void SqliteTable::EnsureOrderIndex(const std::vector<std::string>& columns) {
  if (!FWritable) return;
  std::string name = FName + "_order";
  std::string list;
  for (const std::string& column : columns) {
    name += '_';
    name += column;
    if (!list.empty()) list += ',';
    list += QuotedIdentifier(column);
  }
  try {
    // Looked up first: making an index that is there already would still take the write lock.
    SqliteStatement known(FDb, "SELECT 1 FROM sqlite_master WHERE type='index' AND name=?");
    known.Bind(1, CellView{CellKind::Text, 0, 0, name});
    const bool present = known.Step();
    known.Reset();
    if (present) return;
    SqliteStatement create(FDb, "CREATE INDEX IF NOT EXISTS " + QuotedIdentifier(name) + " ON " +
                                    Table() + " (" + list + ")");
    create.Step();
  } catch (const EDatabaseError&) {
    // Locked, full, or not ours to change: the rows are sorted when read instead.
  }
}

}  // namespace dbengine
