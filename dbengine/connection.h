#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dbengine/types.h"

namespace dbengine {

class Storage;
class TDataSet;
class TParameters;

// One open database: a database file, or an address list on a database server named by a link
// file (see server_link.h). The connection string follows the provider's rules: the provider must
// be Microsoft.Jet.OLEDB.4.0 and `Data Source` names the file; other properties are accepted and
// ignored ("Mode=Read" without Write opens read-only).
class TADOConnection {
 public:
  TADOConnection();
  TADOConnection(const TADOConnection&) = delete;
  TADOConnection& operator=(const TADOConnection&) = delete;
  ~TADOConnection();

  std::string ConnectionString;
  bool LoginPrompt = false;
  // The program that reads genuine Access files; empty (as the programs leave it) for the one
  // beside the running executable. Tests name the reader they use here.
  std::string AccessReader;

  // Never creates a file: a missing, unreadable or damaged file, a folder, or a file that is not a
  // database fails here with EDatabaseError. A file the process may not write opens read-only, and
  // so does a genuine Access file, served from a converted copy kept in the user's cache folder.
  // A link file connects to its server; a server that cannot be reached fails here too.
  void Open();
  // Closes the datasets still open on this connection first; rolls back an open transaction.
  void Close();
  bool Connected() const { return FStorage != nullptr; }
  bool ReadOnly() const;
  // Why a change is refused when the user could not tell from the file: a genuine Access file
  // opens from a converted copy, and this says how to convert it. Empty otherwise.
  const std::string& ReadOnlyReason() const;

  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const { return FInTransaction; }

  // Runs one statement of the Jet dialect; a result set is read to its end and dropped.
  void Execute(const std::string& jetSql, TCommandType commandType = cmdText);
  // The same with values for its :name placeholders, so that text (a path, a name) is never
  // spliced into the statement: {{"file", path}}.
  void Execute(const std::string& jetSql, const TParameters& parameters);

  // Changes whenever the data may have changed: a write through this connection, or a commit by
  // another one (on a server: at every call, since another desk may commit at any time). Equal
  // stamps mean rows read in between are still what the database holds.
  using TChangeStamp = dbengine::TChangeStamp;
  TChangeStamp ChangeStamp() const;

  // Makes a column of a table one that each user of a server list keeps for themselves (the
  // tick of the address list: each person prints their own), every other column staying shared;
  // statements and datasets read and change it as before. Nothing changes in a file, which has
  // one user at a time.
  void MakeColumnPerUser(const std::string& table, const std::string& column);
  // Lets a role of the server (a person, or a group of them) read and change a table's rows, the
  // tables behind a per-user column included. Nothing changes in a file.
  void ShareTable(const std::string& table, const std::string& role);

  // For the datasets of this layer: what holds the data (EDatabaseError while closed), and the
  // register of datasets that must close with the connection.
  Storage& Data() const;
  void AttachDataSet(TDataSet* dataSet);
  void DetachDataSet(TDataSet* dataSet);

 private:
  void RequireOpen() const;

  std::unique_ptr<Storage> FStorage;
  bool FInTransaction = false;
  std::vector<TDataSet*> FDataSets;
};

}  // namespace dbengine
