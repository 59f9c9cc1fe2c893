#include "dbengine/pg_storage.h"

#include "dbengine/errors.h"
#include "dbengine/parameters.h"
#include "dbengine/pg_catalog.h"
#include "dbengine/pg_per_user.h"
#include "dbengine/pg_session.h"
#include "dbengine/pg_statement.h"
#include "dbengine/pg_table.h"
#include "dbengine/server_link.h"
#include "dbengine/server_sql.h"

namespace dbengine {
namespace {

// The Jet types a server has no name for, as domains of the schema the tables are made in.
constexpr const char* kEnsureJetTypes =
    "DO $types$ BEGIN "
    "IF pg_catalog.to_regtype('yesno') IS NULL THEN CREATE DOMAIN yesno AS smallint; END IF; "
    "IF pg_catalog.to_regtype('datetime') IS NULL THEN CREATE DOMAIN datetime AS text; END IF; "
    "IF pg_catalog.to_regtype('longtext') IS NULL THEN CREATE DOMAIN longtext AS text; END IF; "
    "END $types$";

class PgStorage final : public Storage {
 public:
  PgStorage(const std::string& path, bool readOnly)
      : FSession(ReadServerLink(path), readOnly), FCatalog(FSession) {
    if (readOnly) SetReadOnly({});
  }

  // Every row of a page crosses the network: a few screenfuls, no more.
  int DefaultPageSize() const override { return 64; }

  std::unique_ptr<Statement> Prepare(const std::string& sql, TReading reading) override {
    return std::make_unique<PgStatement>(FSession, FCatalog, sql, reading);
  }

  std::string Translate(const std::string& jetSql) override {
    return TranslateJetSqlForServer(
        jetSql, [this](const std::string& name) { return FCatalog.Spelling(name); });
  }

  void Execute(const std::string& jetSql, const TParameters* parameters) override {
    const std::string sql = Translate(jetSql);
    const bool definitions = ChangesDefinitions(sql);
    if (DeclaresColumns(jetSql)) FSession.Run(kEnsureJetTypes);
    std::vector<std::string> placeholders;
    NumberedPlaceholders(sql, placeholders);
    if (placeholders.empty()) {
      FSession.Run(sql);
    } else {
      // Placeholders left without a value read as null, as in a file.
      PgStatement statement(FSession, FCatalog, sql, TReading::Few);
      if (parameters != nullptr) statement.Bind(*parameters);
      while (statement.Step()) {
      }
    }
    if (definitions) FCatalog.Forget();
  }

  void Begin() override { FSession.Begin(); }
  void Commit() override { FSession.Commit(); }
  void Rollback() override {
    FSession.Rollback();
    // Tables made in the transaction are gone again.
    FCatalog.Forget();
  }

  // Another desk may commit at any moment and nothing tells this one: every refresh reads again.
  TChangeStamp ChangeStamp() override { return {++FReads, 0}; }

  std::unique_ptr<TableAccess> Table(const std::string& name) override {
    return std::make_unique<PgTable>(FSession, FCatalog, FCatalog.Relation(name));
  }

  void MakeColumnPerUser(const std::string& table, const std::string& column) override {
    MakeServerColumnPerUser(FSession, FCatalog, table, column);
  }

  void Share(const std::string& table, const std::string& role) override {
    ShareServerTable(FSession, FCatalog, table, role);
  }

 private:
  PgSession FSession;
  PgCatalog FCatalog;
  std::int64_t FReads = 0;
};

}  // namespace

std::unique_ptr<Storage> OpenServerStorage(const std::string& path, bool readOnly) {
  return std::make_unique<PgStorage>(path, readOnly);
}

}  // namespace dbengine
