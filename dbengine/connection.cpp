#include "dbengine/connection.h"

#include <algorithm>

#include "dbengine/connection_string.h"
#include "dbengine/dataset.h"
#include "dbengine/errors.h"
#include "dbengine/pg_storage.h"
#include "dbengine/server_link.h"
#include "dbengine/sqlite_storage.h"
#include "dbengine/storage.h"
#include "platform/ascii_case.h"

namespace dbengine {
namespace {

constexpr const char* kProvider = "Microsoft.Jet.OLEDB.4.0";

std::string Property(const TConnectionProperties& properties, const char* key) {
  const auto it = properties.find(key);
  return it == properties.end() ? std::string() : it->second;
}

// "Mode" asks for read-only access when it names Read without Write ("Read", "Share Deny None").
bool ModeIsReadOnly(const std::string& mode) {
  const std::string upper = platform::UpperCase(mode);
  return upper.find("READ") != std::string::npos && upper.find("WRITE") == std::string::npos;
}

}  // namespace

TADOConnection::TADOConnection() = default;

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
  const bool readOnly = ModeIsReadOnly(Property(properties, "Mode"));
  FStorage = IsServerLink(path) ? OpenServerStorage(path, readOnly)
                                : OpenFileStorage(path, readOnly, AccessReader);
}

void TADOConnection::Close() {
  if (!Connected()) return;
  // Closing a dataset detaches it, so walk a copy.
  const std::vector<TDataSet*> dataSets = FDataSets;
  for (TDataSet* dataSet : dataSets) dataSet->Close();
  FDataSets.clear();
  FStorage.reset();  // an open transaction is rolled back
  FInTransaction = false;
}

bool TADOConnection::ReadOnly() const {
  return Connected() && FStorage->ReadOnly();
}

const std::string& TADOConnection::ReadOnlyReason() const {
  static const std::string kNone;
  return Connected() ? FStorage->ReadOnlyReason() : kNone;
}

void TADOConnection::RequireOpen() const {
  if (!Connected()) throw EDatabaseError("The connection is closed.");
}

Storage& TADOConnection::Data() const {
  RequireOpen();
  return *FStorage;
}

void TADOConnection::BeginTrans() {
  RequireOpen();
  if (FInTransaction) throw EDatabaseError("A transaction is already in progress.");
  FStorage->Begin();
  FInTransaction = true;
}

void TADOConnection::CommitTrans() {
  RequireOpen();
  if (!FInTransaction) throw EDatabaseError("No transaction is in progress.");
  FStorage->Commit();
  FInTransaction = false;
}

void TADOConnection::RollbackTrans() {
  RequireOpen();
  if (!FInTransaction) throw EDatabaseError("No transaction is in progress.");
  FInTransaction = false;
  FStorage->Rollback();
}

void TADOConnection::Execute(const std::string& jetSql, TCommandType) {
  RequireOpen();
  FStorage->Execute(jetSql, nullptr);
}

void TADOConnection::Execute(const std::string& jetSql, const TParameters& parameters) {
  RequireOpen();
  FStorage->Execute(jetSql, &parameters);
}

void TADOConnection::MakeColumnPerUser(const std::string& table, const std::string& column) {
  RequireOpen();
  FStorage->MakeColumnPerUser(table, column);
}

void TADOConnection::ShareTable(const std::string& table, const std::string& role) {
  RequireOpen();
  FStorage->Share(table, role);
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
  return FStorage->ChangeStamp();
}

}  // namespace dbengine
