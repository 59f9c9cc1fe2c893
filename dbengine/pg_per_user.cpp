#include "dbengine/pg_per_user.h"

#include <vector>

#include "dbengine/errors.h"
#include "dbengine/pg_catalog.h"
#include "dbengine/pg_session.h"
#include "dbengine/quoting.h"

namespace dbengine {
namespace {

constexpr const char* kBodyQuote = "$write$";

std::string Joined(const std::vector<std::string>& parts, const std::string& prefix,
                   const char* separator) {
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : separator) + prefix + part;
  return joined;
}

// The trigger function's body: each kind of change through the view, onto the two tables.
std::string WriteBody(const std::string& shared, const std::string& perUser, const std::string& key,
                      const std::string& column, const std::vector<std::string>& sharedColumns) {
  const std::string assigned =
      sharedColumns.empty()
          ? std::string()
          : "  ELSIF (" + Joined(sharedColumns, "NEW.", ", ") + ") IS DISTINCT FROM (" +
                Joined(sharedColumns, "OLD.", ", ") + ") THEN\n    UPDATE " + shared + " SET (" +
                Joined(sharedColumns, "", ", ") + ") = ROW(" + Joined(sharedColumns, "NEW.", ", ") +
                ") WHERE " + key + " = OLD." + key + ";\n";
  const std::string insertShared =
      sharedColumns.empty()
          ? "      INSERT INTO " + shared + " DEFAULT VALUES RETURNING " + key + " INTO NEW." +
                key + ";\n"
          : "      INSERT INTO " + shared + " (" + Joined(sharedColumns, "", ", ") + ") VALUES (" +
                Joined(sharedColumns, "NEW.", ", ") + ") RETURNING " + key + " INTO NEW." + key +
                ";\n";
  const std::string insertSharedWithKey =
      "      INSERT INTO " + shared + " (" + key +
      (sharedColumns.empty() ? "" : ", " + Joined(sharedColumns, "", ", ")) + ") VALUES (NEW." +
      key + (sharedColumns.empty() ? "" : ", " + Joined(sharedColumns, "NEW.", ", ")) + ");\n";
  return "BEGIN\n"
         "  IF TG_OP = 'DELETE' THEN\n"
         "    DELETE FROM " +
         shared + " WHERE " + key + " = OLD." + key +
         ";\n"
         "    RETURN OLD;\n"
         "  END IF;\n"
         "  IF TG_OP = 'INSERT' THEN\n"
         "    IF NEW." +
         key + " IS NULL THEN\n" + insertShared + "    ELSE\n" + insertSharedWithKey +
         "    END IF;\n" + assigned +
         "  END IF;\n"
         "  IF (TG_OP = 'INSERT' AND NEW." +
         column + " IS NOT NULL) OR (TG_OP = 'UPDATE' AND NEW." + column +
         " IS DISTINCT FROM OLD." + column +
         ") THEN\n"
         "    INSERT INTO " +
         perUser + " (" + key + ", " + column + ") VALUES (NEW." + key + ", NEW." + column +
         ")\n"
         "      ON CONFLICT (role_name, " +
         key + ") DO UPDATE SET " + column + " = EXCLUDED." + column +
         ";\n"
         "  END IF;\n"
         "  RETURN NEW;\n"
         "END\n";
}

}  // namespace

void MakeServerColumnPerUser(PgSession& session, PgCatalog& catalog, const std::string& table,
                             const std::string& column) {
  const TPgRelation relation = catalog.Relation(table);
  if (relation.IsView || relation.Key.empty())
    throw EDatabaseError("The table " + relation.Name +
                         " has no single-column integer primary key: its column '" + column +
                         "' cannot be kept by each user");
  const std::vector<TPgColumn> columns = catalog.Columns(relation.Id);
  const std::string spelling = catalog.ColumnSpelling(relation.Id, column);
  std::string keyType;
  std::string columnType;
  std::vector<std::string> sharedColumns;
  std::vector<std::string> shown;
  for (const TPgColumn& each : columns) {
    const std::string quoted = QuotedIdentifier(each.Name);
    if (quoted == relation.Key) keyType = each.Type;
    if (each.Name == spelling) {
      columnType = each.Type;
      shown.push_back("own." + quoted);
      continue;
    }
    if (quoted != relation.Key) sharedColumns.push_back(quoted);
    shown.push_back("shared_row." + quoted);
  }
  if (columnType.empty() || QuotedIdentifier(spelling) == relation.Key)
    throw EDatabaseError("The table " + relation.Name + " has no column '" + column +
                         "' that each user could keep");

  const std::string& name = relation.BaseTable;
  const std::string schema = QuotedIdentifier(relation.Schema) + ".";
  const std::string view = schema + QuotedIdentifier(name);
  const std::string shared = schema + QuotedIdentifier(name + "_shared");
  const std::string perUser = schema + QuotedIdentifier(name + "_per_user");
  const std::string write = schema + QuotedIdentifier(name + "_write");
  const std::string key = relation.Key;
  const std::string quotedColumn = QuotedIdentifier(spelling);
  const std::string body = WriteBody(shared, perUser, key, quotedColumn, sharedColumns);
  if (body.find(kBodyQuote) != std::string::npos)
    throw EDatabaseError("The table " + relation.Name + " has a name the server cannot take here");

  PgSession::TOwnTransaction transaction(session);
  session.Run("ALTER TABLE " + view + " RENAME TO " + QuotedIdentifier(name + "_shared"));
  session.Run("ALTER TABLE " + shared + " DROP COLUMN " + quotedColumn);
  session.Run("CREATE TABLE " + perUser + " (role_name name NOT NULL DEFAULT current_user, " + key +
              " " + keyType + " NOT NULL REFERENCES " + shared + " (" + key +
              ") ON DELETE CASCADE, " + quotedColumn + " " + columnType +
              ", PRIMARY KEY (role_name, " + key + "))");
  session.Run("ALTER TABLE " + perUser + " ENABLE ROW LEVEL SECURITY");
  session.Run("CREATE POLICY own_rows ON " + perUser +
              " USING (role_name = current_user) WITH CHECK (role_name = current_user)");
  session.Run("CREATE VIEW " + view + " AS SELECT " + Joined(shown, "", ", ") + " FROM " + shared +
              " shared_row LEFT JOIN " + perUser + " own ON own." + key + " = shared_row." + key +
              " AND own.role_name = current_user");
  session.Run("CREATE FUNCTION " + write + "() RETURNS trigger LANGUAGE plpgsql AS " + kBodyQuote +
              "\n" + body + kBodyQuote);
  session.Run("CREATE TRIGGER " + QuotedIdentifier(name + "_write") +
              " INSTEAD OF INSERT OR UPDATE OR DELETE ON " + view +
              " FOR EACH ROW EXECUTE FUNCTION " + write + "()");
  transaction.Finish();
  catalog.Forget();
}

void ShareServerTable(PgSession& session, PgCatalog& catalog, const std::string& table,
                      const std::string& role) {
  const TPgRelation relation = catalog.Relation(table);
  const std::string grantee = QuotedIdentifier(role);
  PgSession::TOwnTransaction transaction(session);
  session.Run("GRANT USAGE ON SCHEMA " + QuotedIdentifier(relation.Schema) + " TO " + grantee);
  std::vector<std::string> tables = {relation.Name};
  const std::string suffix = "_shared";
  const std::string& base = relation.BaseTable;
  if (relation.IsView && base.size() > suffix.size() &&
      base.compare(base.size() - suffix.size(), suffix.size(), suffix) == 0) {
    tables.push_back(relation.Base);
    const std::string perUser =
        QuotedIdentifier(relation.Schema) + "." +
        QuotedIdentifier(base.substr(0, base.size() - suffix.size()) + "_per_user");
    PgValues name;
    name.SetText(1, perUser);
    if (PQgetisnull(session.Run("SELECT pg_catalog.to_regclass($1)", &name).get(), 0, 0) == 0)
      tables.push_back(perUser);
  }
  for (const std::string& each : tables)
    session.Run("GRANT SELECT, INSERT, UPDATE, DELETE ON " + each + " TO " + grantee);
  transaction.Finish();
}

}  // namespace dbengine
