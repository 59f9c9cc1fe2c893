#include "dbengine/table_rows.h"

#include "dbengine/errors.h"
#include "dbengine/record_reader.h"
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
  return sqlite3_last_insert_rowid(db);
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
  if (assignments.empty()) return;
  Statement update(db,
                   "UPDATE " + QuotedIdentifier(table) + " SET " + assignments + " WHERE rowid=?");
  int slot = 0;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (changed[i]) update.Bind(++slot, values[i].View());
  update.BindInteger(++slot, rowId);
  update.Step();
  if (sqlite3_changes(db) == 0)
    throw EDatabaseError("The record cannot be found; another user may have deleted it.");
}

void DeleteRow(sqlite3* db, const std::string& table, std::int64_t rowId) {
  Statement remove(db, "DELETE FROM " + QuotedIdentifier(table) + " WHERE rowid=?");
  remove.BindInteger(1, rowId);
  remove.Step();
}

Record ReadRow(sqlite3* db, const std::string& table, std::int64_t rowId) {
  RecordReader reader(db, SelectRowsStatement(table) + " WHERE rowid=?", true);
  reader.Query().BindInteger(1, rowId);
  Record record;
  if (!reader.Read(record))
    throw EDatabaseError("The record cannot be found; another user may have deleted it.");
  return record;
}

}  // namespace dbengine
