#include "dbengine/connection.h"

#include <algorithm>

#include "dbengine/access/access_cache.h"
#include "dbengine/access/access_file.h"
#include "dbengine/connection_string.h"
#include "dbengine/database_file.h"
#include "dbengine/dataset.h"
#include "dbengine/errors.h"
#include "dbengine/jet_sql.h"
#include "dbengine/parameters.h"
#include "dbengine/statement.h"
#include "platform/ascii_case.h"

namespace dbengine {
namespace {

constexpr const char* kProvider = "Microsoft.Jet.OLEDB.4.0";
constexpr int kBusyTimeoutMs = 5000;

std::string Property(const TConnectionProperties& properties, const char* key) {
  const auto it = properties.find(key);
  return it == properties.end() ? std::string() : it->second;
}

// "Mode" asks for read-only access when it names Read without Write ("Read", "Share Deny None").
bool ModeIsReadOnly(const std::string& mode) {
  const std::string upper = platform::UpperCase(mode);
  return upper.find("READ") != std::string::npos && upper.find("WRITE") == std::string::npos;
}

void RunStatement(sqlite3* db, const std::string& sql, const TParameters* parameters = nullptr) {
  Statement statement(db, sql);
  if (parameters != nullptr) statement.Bind(*parameters);
  while (statement.Step()) {
  }
}

}  // namespace

TADOConnection::~TADOConnection() {
  Close();
}

void TADOConnection::Open() {
  if (Connected()) return;
  const TConnectionProperties properties = ParseConnectionString(ConnectionString);
  const std::string provider = Property(properties, "Provider");
  if (!platform::SameText(provider, kProvider))
    throw EDatabaseError("The provider '" + provider + "' cannot be found; only " + kProvider +
                         " is installed.");
  const std::string path = Property(properties, "Data Source");
  if (path.empty()) throw EDatabaseError("The connection string names no Data Source.");

  // A genuine Access file is served from its converted copy, which takes no changes.
  const bool access = IsAccessFile(path);
  const std::string file = access ? UpToDateAccessCopy(path, AccessReader) : path;
  const bool writable =
      CheckDatabaseFile(file) && !access && !ModeIsReadOnly(Property(properties, "Mode"));
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
  FHandle = db;
  FReadOnly = !writable;
  FReadOnlyReason = access ? AccessChangeRefusal(path) : std::string();
}

void TADOConnection::Close() {
  if (!Connected()) return;
  // Closing a dataset detaches it, so walk a copy.
  const std::vector<TDataSet*> dataSets = FDataSets;
  for (TDataSet* dataSet : dataSets) dataSet->Close();
  FDataSets.clear();
  sqlite3_close_v2(FHandle);  // an open transaction is rolled back
  FHandle = nullptr;
  FInTransaction = false;
  FReadOnly = false;
  FReadOnlyReason.clear();
}

void TADOConnection::RequireOpen() const {
  if (!Connected()) throw EDatabaseError("The connection is closed.");
}

void TADOConnection::BeginTrans() {
  RequireOpen();
  if (FInTransaction) throw EDatabaseError("A transaction is already in progress.");
  // IMMEDIATE takes the write lock now, so a second writer waits at its own begin instead of
  // failing halfway through.
  RunStatement(FHandle, FReadOnly ? "BEGIN" : "BEGIN IMMEDIATE");
  FInTransaction = true;
}

void TADOConnection::CommitTrans() {
  RequireOpen();
  if (!FInTransaction) throw EDatabaseError("No transaction is in progress.");
  RunStatement(FHandle, "COMMIT");
  FInTransaction = false;
}

void TADOConnection::RollbackTrans() {
  RequireOpen();
  if (!FInTransaction) throw EDatabaseError("No transaction is in progress.");
  FInTransaction = false;
  if (sqlite3_get_autocommit(FHandle) == 0) RunStatement(FHandle, "ROLLBACK");
}

void TADOConnection::Execute(const std::string& jetSql, TCommandType) {
  Run(jetSql, nullptr);
}

void TADOConnection::Execute(const std::string& jetSql, const TParameters& parameters) {
  Run(jetSql, &parameters);
}

void TADOConnection::Run(const std::string& jetSql, const TParameters* parameters) {
  RequireOpen();
  try {
    RunStatement(FHandle, TranslateJetSql(jetSql), parameters);
  } catch (const EDatabaseError& error) {
    if ((error.ErrorCode & 0xff) == SQLITE_READONLY && !FReadOnlyReason.empty())
      throw EDatabaseError(FReadOnlyReason, error.ErrorCode);
    throw;
  }
}

void TADOConnection::AttachDataSet(TDataSet* dataSet) {
  if (std::find(FDataSets.begin(), FDataSets.end(), dataSet) == FDataSets.end())
    FDataSets.push_back(dataSet);
}

void TADOConnection::DetachDataSet(TDataSet* dataSet) {
  FDataSets.erase(std::remove(FDataSets.begin(), FDataSets.end(), dataSet), FDataSets.end());
}

TADOConnection::TChangeStamp TADOConnection::ChangeStamp() const {
  RequireOpen();
  Statement version(FHandle, "PRAGMA data_version");
  TChangeStamp stamp;
  if (version.Step()) stamp.DataVersion = sqlite3_column_int64(version.Handle(), 0);
  stamp.OwnChanges = sqlite3_total_changes64(FHandle);
  return stamp;
}

}  // namespace dbengine
