#include "dbengine/table_rows.h"

#include "dbengine/errors.h"
#include "dbengine/statement.h"

namespace dbengine {

std::string QuotedIdentifier(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string SelectRowsStatement(const std::string& table) {
  return "SELECT rowid, * FROM " + QuotedIdentifier(table);
}

std::int64_t InsertRow(sqlite3* db, const std::string& table,
                       const std::vector<std::string>& columns,
                       const std::vector<CellValue>& values, const std::vector<bool>& changed) {
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
  const std::string target = "INSERT INTO " + QuotedIdentifier(table);
  Statement insert(db, names.empty() ? target + " DEFAULT VALUES"
                                     : target + " (" + names + ") VALUES (" + slots + ")");
  int slot = 0;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (changed[i]) insert.Bind(++slot, values[i].View());
  insert.Step();
  return insert.LastInsertRowId();
}

void UpdateRow(sqlite3* db, const std::string& table, std::int64_t rowId,
               const std::vector<std::string>& columns, const std::vector<CellValue>& values,
               const std::vector<bool>& changed) {
  std::string assignments;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!changed[i]) continue;
    if (!assignments.empty()) assignments += ',';
    assignments += QuotedIdentifier(columns[i]) + "=?";
  }
  const char* const gone = "The record cannot be found; another user may have deleted it.";
  if (assignments.empty()) {
    // Nothing to store, but the row must still be there.
    Statement find(db, "SELECT 1 FROM " + QuotedIdentifier(table) + " WHERE rowid=?");
    find.BindInteger(1, rowId);
    if (!find.Step()) throw EDatabaseError(gone);
    return;
  }
  Statement update(db,
                   "UPDATE " + QuotedIdentifier(table) + " SET " + assignments + " WHERE rowid=?");
  int slot = 0;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (changed[i]) update.Bind(++slot, values[i].View());
  update.BindInteger(++slot, rowId);
  update.Step();
  if (update.Changes() == 0) throw EDatabaseError(gone);
}

void DeleteRow(sqlite3* db, const std::string& table, std::int64_t rowId) {
  Statement remove(db, "DELETE FROM " + QuotedIdentifier(table) + " WHERE rowid=?");
  remove.BindInteger(1, rowId);
  remove.Step();
}

void EnsureOrderIndex(sqlite3* db, const std::string& table,
                      const std::vector<std::string>& columns) {
  std::string name = table + "_order";
  std::string list;
  for (const std::string& column : columns) {
    name += '_';
    name += column;
    if (!list.empty()) list += ',';
    list += QuotedIdentifier(column);
  }
  try {
    // Looked up first: making an index that is there already would still take the write lock.
    Statement known(db, "SELECT 1 FROM sqlite_master WHERE type='index' AND name=?");
    known.Bind(1, CellView{CellKind::Text, 0, 0, name});
    const bool present = known.Step();
    known.Reset();
    if (present) return;
    Statement create(db, "CREATE INDEX IF NOT EXISTS " + QuotedIdentifier(name) + " ON " +
                             QuotedIdentifier(table) + " (" + list + ")");
    create.Step();
  } catch (const EDatabaseError&) {
    // Locked, full, or not ours to change: the rows are sorted when read instead.
  }
}

}  // namespace dbengine
