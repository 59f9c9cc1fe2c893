#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/types.h"

struct sqlite3;

namespace dbengine {

class TDataSet;
class TParameters;

// One open database file. The connection string follows the provider's rules: the provider must
// be Microsoft.Jet.OLEDB.4.0 and `Data Source` names the file; other properties are accepted and
// ignored ("Mode=Read" without Write opens read-only).
class TADOConnection {
 public:
  TADOConnection() = default;
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
  void Open();
  // Closes the datasets still open on this connection first; rolls back an open transaction.
  void Close();
  bool Connected() const { return FHandle != nullptr; }
  bool ReadOnly() const { return FReadOnly; }
  // Why a change is refused when the user could not tell from the file: a genuine Access file
  // opens from a converted copy, and this says how to convert it. Empty otherwise.
  const std::string& ReadOnlyReason() const { return FReadOnlyReason; }

  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const { return FInTransaction; }

  // Runs one statement of the Jet dialect; a result set is read to its end and dropped.
  void Execute(const std::string& jetSql, TCommandType commandType = cmdText);
  // The same with values for its :name placeholders, so that text (a path, a name) is never
  // spliced into the statement: {{"file", path}}.
  void Execute(const std::string& jetSql, const TParameters& parameters);

  // Changes whenever the file's data may have changed: a write through this connection, or a
  // commit by another one. Equal stamps mean rows read in between are still what the file holds.
  struct TChangeStamp {
    std::int64_t DataVersion = -1;
    std::int64_t OwnChanges = -1;
    friend bool operator==(const TChangeStamp&, const TChangeStamp&) = default;
  };
  TChangeStamp ChangeStamp() const;

  // For the datasets of this layer: the SQLite handle (null while closed), and the register of
  // datasets that must close with the connection.
  sqlite3* Handle() const { return FHandle; }
  void AttachDataSet(TDataSet* dataSet);
  void DetachDataSet(TDataSet* dataSet);

 private:
  void RequireOpen() const;
  void Run(const std::string& jetSql, const TParameters* parameters);

  sqlite3* FHandle = nullptr;
  bool FReadOnly = false;
  std::string FReadOnlyReason;
  bool FInTransaction = false;
  std::vector<TDataSet*> FDataSets;
};

}  // namespace dbengine
