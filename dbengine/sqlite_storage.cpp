#include "dbengine/sqlite_storage.h"

#include <cctype>

#include "dbengine/access/access_cache.h"
#include "dbengine/access/access_file.h"
#include "dbengine/database_file.h"
#include "dbengine/errors.h"
#include "dbengine/jet_sql.h"
#include "dbengine/parameters.h"
#include "dbengine/sqlite_statement.h"
#include "dbengine/sqlite_table.h"

namespace dbengine {
namespace {

constexpr int kBusyTimeoutMs = 5000;

void RunStatement(sqlite3* db, const std::string& sql, const TParameters* parameters = nullptr) {
  SqliteStatement statement(db, sql);
  if (parameters != nullptr) statement.Bind(*parameters);
  while (statement.Step()) {
  }
}

class SqliteStorage final : public Storage {
 public:
  SqliteStorage(sqlite3* db, bool readOnly, std::string readOnlyReason) : FDb(db) {
    if (readOnly) SetReadOnly(std::move(readOnlyReason));
  }
  ~SqliteStorage() override { sqlite3_close_v2(FDb); }  // an open transaction is rolled back

  // A page costs a file little more than a screenful.
  int DefaultPageSize() const override { return 256; }

  std::unique_ptr<Statement> Prepare(const std::string& sql, TReading) override {
    return std::make_unique<SqliteStatement>(FDb, sql);
  }

  std::string Translate(const std::string& jetSql) override { return TranslateJetSql(jetSql); }

  void Execute(const std::string& jetSql, const TParameters* parameters) override {
    try {
      RunStatement(FDb, TranslateJetSql(jetSql), parameters);
    } catch (const EDatabaseError& error) {
      if ((error.ErrorCode & 0xff) == SQLITE_READONLY && !ReadOnlyReason().empty())
        throw EDatabaseError(ReadOnlyReason(), error.ErrorCode);
      throw;
    }
  }

  // IMMEDIATE takes the write lock now, so a second writer waits at its own begin instead of
  // failing halfway through.
  void Begin() override { RunStatement(FDb, ReadOnly() ? "BEGIN" : "BEGIN IMMEDIATE"); }
  void Commit() override { RunStatement(FDb, "COMMIT"); }
  void Rollback() override {
    if (sqlite3_get_autocommit(FDb) == 0) RunStatement(FDb, "ROLLBACK");
  }

  TChangeStamp ChangeStamp() override {
    SqliteStatement version(FDb, "PRAGMA data_version");
    TChangeStamp stamp;
    if (version.Step()) stamp.DataVersion = version.ColumnInteger(0);
    stamp.OwnChanges = sqlite3_total_changes64(FDb);
    return stamp;
  }

  std::unique_ptr<TableAccess> Table(const std::string& name) override {
    return std::make_unique<SqliteTable>(FDb, name, !ReadOnly());
  }

  void MakeColumnPerUser(const std::string&, const std::string&) override {}
  void Share(const std::string&, const std::string&) override {}

 private:
  sqlite3* FDb;
};

}  // namespace

std::unique_ptr<Storage> OpenFileStorage(const std::string& path, bool readOnly,
                                         const std::string& accessReader) {
  // A genuine Access file is served from its converted copy, which takes no changes.
  const bool access = IsAccessFile(path);
  const std::string file = access ? UpToDateAccessCopy(path, accessReader) : path;
  const bool writable = CheckDatabaseFile(file) && !access && !readOnly;
  sqlite3* db = nullptr;
  const int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
  try {
    if (rc != SQLITE_OK) ThrowSqliteError(db, rc);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // SQLite reads the schema lazily; reading it now makes a damaged file fail here.
    RunStatement(db, "SELECT count(*) FROM sqlite_master");
  } catch (const EDatabaseError& error) {
    sqlite3_close_v2(db);
    throw EDatabaseError("The file '" + path + "' cannot be opened as a database: " + error.what(),
                         error.ErrorCode);
  }
  return std::make_unique<SqliteStorage>(db, !writable,
                                         access ? AccessChangeRefusal(path) : std::string());
}

}  // namespace dbengine
