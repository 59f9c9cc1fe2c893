#include "dbengine/pg_table.h"

#include <algorithm>

#include "dbengine/errors.h"
#include "dbengine/pg_session.h"
#include "dbengine/pg_statement.h"
#include "dbengine/quoting.h"

namespace dbengine {
namespace {

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : separator) + part;
  return joined;
}

}  // namespace

PgTable::PgTable(PgSession& session, PgCatalog& catalog, TPgRelation relation)
    : TableAccess(relation.Name, relation.Key),
      FSession(session),
      FCatalog(catalog),
      FRelation(std::move(relation)) {}

// Nulls first ascending and last descending, as a file sorts them; the name as the table spells
// it, since the server would fold an unquoted one to lower case.
std::string PgTable::OrderTerm(const std::string& column, bool descending) const {
  return QuotedIdentifier(FCatalog.ColumnSpelling(FRelation.Id, column)) +
         (descending ? " DESC NULLS LAST" : " NULLS FIRST");
}

std::string PgTable::OrderIndexName(const std::vector<std::string>& columns) const {
  std::string name = FRelation.BaseTable + "_order";
  for (const std::string& column : columns) {
    name += '_';
    name += FCatalog.ColumnSpelling(FRelation.Id, column);
  }
  return name;
}

std::optional<bool> PgTable::HasOrderIndex(const std::vector<std::string>& columns) const {
  const std::string name = OrderIndexName(columns);
  if (std::find(FRelation.Indexes.begin(), FRelation.Indexes.end(), name) !=
      FRelation.Indexes.end())
    return true;
  return std::nullopt;
}

void PgTable::EnsureOrderIndex(const std::vector<std::string>& columns) {
  if (FRelation.Base.empty()) return;
  // On the table that holds the rows; the key after the columns gives ties their order.
  const std::string name = OrderIndexName(columns);
  std::vector<std::string> terms;
  for (const std::string& column : columns) terms.push_back(OrderTerm(column, false));
  terms.push_back(FRelation.BaseKey);
  // Looked up first: making it would need the table's owner and lock the table for a moment.
  if (std::find(FRelation.Indexes.begin(), FRelation.Indexes.end(), name) !=
          FRelation.Indexes.end() ||
      FSession.InTransaction())
    return;
  try {
    FSession.Run("CREATE INDEX IF NOT EXISTS " + QuotedIdentifier(name) + " ON " + FRelation.Base +
                 " (" + Joined(terms, ", ") + ")");
    FRelation.Indexes.push_back(name);
  } catch (const EDatabaseError&) {
    // Not the owner, or the server refused: the rows are sorted when read instead.
  }
}

std::string PgTable::SelectRows() const {
  const bool sameTable = FRelation.Base == FRelation.Name;
  std::string sql = "SELECT r." + Key() + ", " + (sameTable ? "r" : "b") +
                    ".xmin::text::bigint, r.* FROM " + FRelation.Name + " r";
  if (!sameTable)
    sql += " JOIN " + FRelation.Base + " b ON b." + FRelation.BaseKey + " = r." + Key();
  return sql;
}

std::unique_ptr<Statement> PgTable::RowsByKeys(int) {
  return Rows(" WHERE r." + Key() + " = ANY (?1::bigint[])");
}

std::unique_ptr<Statement> PgTable::Rows(const std::string& condition) {
  auto statement =
      std::make_unique<PgStatement>(FSession, FCatalog, SelectRows() + condition, TReading::Few);
  // The key, the version, then the table's columns: known already, not asked of the server.
  statement->KnowColumns(2, FRelation.Id, FCatalog.Columns(FRelation.Id));
  return statement;
}

void PgTable::BindKeys(Statement& statement, const std::vector<std::int64_t>& keys, int) {
  std::string array = "{";
  for (std::int64_t key : keys) {
    if (array.size() > 1) array += ',';
    array += std::to_string(key);
  }
  array += "}";
  statement.Bind(1, CellView{CellKind::Text, 0, 0, array});
}

std::unique_ptr<Statement> PgTable::RowsInRange() {
  return Rows(" WHERE r." + Key() + " BETWEEN ?1 AND ?2");
}

std::int64_t PgTable::InsertRow(const std::vector<std::string>& columns,
                                const std::vector<CellValue>& values,
                                const std::vector<bool>& changed) {
  std::vector<std::string> names;
  std::vector<std::string> slots;
  PgValues given;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!changed[i]) continue;
    names.push_back(QuotedIdentifier(columns[i]));
    given.Set(static_cast<int>(names.size()), values[i].View());
    slots.push_back(PgPlaceholder(names.size()));
  }
  const std::string target = "INSERT INTO " + FRelation.Name;
  const PgResult inserted = FSession.Run(
      (names.empty()
           ? target + " DEFAULT VALUES"
           : target + " (" + Joined(names, ",") + ") VALUES (" + Joined(slots, ",") + ")") +
          " RETURNING " + Key(),
      &given);
  if (PQntuples(inserted.get()) != 1 || PQgetisnull(inserted.get(), 0, 0))
    throw EDatabaseError("The record was stored, but the server did not say which it is");
  return std::stoll(PQgetvalue(inserted.get(), 0, 0));
}

bool PgTable::LockRow(std::int64_t key, std::optional<std::int64_t> version, const char* refusal) {
  PgValues row;
  row.Set(1, CellView{CellKind::Integer, key, 0, {}});
  const PgResult locked = FSession.Run("SELECT b.xmin::text::bigint FROM " + FRelation.Base +
                                           " b WHERE b." + FRelation.BaseKey + " = $1 FOR UPDATE",
                                       &row);
  if (PQntuples(locked.get()) == 0) return false;
  const std::int64_t stored = std::stoll(PQgetvalue(locked.get(), 0, 0));
  if (version && *version != stored) throw ERecordChanged(refusal, stored);
  return true;
}

void PgTable::UpdateRow(std::int64_t key, std::optional<std::int64_t> version,
                        const std::vector<std::string>& columns,
                        const std::vector<CellValue>& values, const std::vector<bool>& changed) {
  PgSession::TOwnTransaction transaction(FSession);
  if (!LockRow(key, version, kRecordChangedMessage)) throw EDatabaseError(kRecordGoneMessage);
  std::vector<std::string> assignments;
  PgValues given;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!changed[i]) continue;
    assignments.push_back(QuotedIdentifier(columns[i]) + "=" +
                          PgPlaceholder(assignments.size() + 1));
    given.Set(static_cast<int>(assignments.size()), values[i].View());
  }
  if (!assignments.empty()) {
    given.Set(static_cast<int>(assignments.size()) + 1, CellView{CellKind::Integer, key, 0, {}});
    const PgResult updated =
        FSession.Run("UPDATE " + FRelation.Name + " SET " + Joined(assignments, ",") + " WHERE " +
                         Key() + "=" + PgPlaceholder(assignments.size() + 1),
                     &given);
    if (std::string(PQcmdTuples(updated.get())) == "0") throw EDatabaseError(kRecordGoneMessage);
  }
  transaction.Finish();
}

void PgTable::DeleteRow(std::int64_t key, std::optional<std::int64_t> version) {
  PgSession::TOwnTransaction transaction(FSession);
  // A row another connection deleted is gone as this one wanted.
  if (LockRow(key, version, kDeletedRecordChangedMessage)) {
    PgValues row;
    row.Set(1, CellView{CellKind::Integer, key, 0, {}});
    FSession.Run("DELETE FROM " + FRelation.Name + " WHERE " + Key() + " = $1", &row);
  }
  transaction.Finish();
}

}  // namespace dbengine
