#pragma once

// Internal to this layer: the seam between the datasets and what keeps their rows, a database
// file (SQLite) or a database server (PostgreSQL). The connection, cursors and readers reach the
// data only through these classes; only the storages' own files include sqlite3.h or libpq-fe.h.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbengine/row_buffer.h"
#include "dbengine/statement.h"
#include "dbengine/types.h"

namespace dbengine {

class TParameters;
class TableAccess;

// One open database: a file or a list on a server, as a connection holds it while connected.
class Storage {
 public:
  Storage() = default;
  Storage(const Storage&) = delete;
  Storage& operator=(const Storage&) = delete;
  virtual ~Storage() = default;

  // Whether every change is refused, and why when the user could not tell (a genuine Access
  // file, served from a converted copy, says how to convert it); the reason may be empty.
  bool ReadOnly() const { return FReadOnly; }
  const std::string& ReadOnlyReason() const { return FReadOnlyReason; }

  // Rows a static cursor reads at a time when the dataset leaves it to the engine: a few
  // screenfuls, few enough that painting one reads little beyond it.
  virtual int DefaultPageSize() const = 0;

  // A statement in this storage's own dialect, with placeholders ?1, ?2 ... and :name.
  virtual std::unique_ptr<Statement> Prepare(const std::string& sql, TReading reading) = 0;
  // A statement (or a condition) of the Jet dialect in this storage's own.
  virtual std::string Translate(const std::string& jetSql) = 0;
  // Runs one statement of the Jet dialect; a result set is read to its end and dropped.
  virtual void Execute(const std::string& jetSql, const TParameters* parameters) = 0;

  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;

  // Differs from the last answer whenever the data may have changed since.
  virtual TChangeStamp ChangeStamp() = 0;

  // How a static cursor names, reads and changes the rows of a table. EDatabaseError when there
  // is no such table.
  virtual std::unique_ptr<TableAccess> Table(const std::string& name) = 0;

  // Makes a column of a table one that each user of the database keeps for themselves, while
  // every other column stays shared. A file has one user at a time: nothing changes there.
  virtual void MakeColumnPerUser(const std::string& table, const std::string& column) = 0;
  // Lets a role of the server read and change the rows of a table; a file's permissions are the
  // file system's: nothing changes there.
  virtual void Share(const std::string& table, const std::string& role) = 0;

 protected:
  void SetReadOnly(std::string reason) {
    FReadOnly = true;
    FReadOnlyReason = std::move(reason);
  }

 private:
  bool FReadOnly = false;
  std::string FReadOnlyReason;
};

// How a storage names, reads and changes the rows of one table for a static cursor. Each row is
// named by a key (a file's rowid, a server table's primary key); on a server a row also has a
// version, read with it and compared when it is changed, so that what another connection stored
// in between is never overwritten unseen.
class TableAccess {
 public:
  TableAccess(const TableAccess&) = delete;
  TableAccess& operator=(const TableAccess&) = delete;
  virtual ~TableAccess() = default;

  // The table and its key as statements name them. The key is empty when rows cannot be named
  // one by one (a server table without a primary key): they then read as a query's rows do.
  const std::string& Table() const { return FTable; }
  const std::string& Key() const { return FKey; }
  // A column as an order names it, rows without a value first when ascending (as a file sorts).
  virtual std::string OrderTerm(const std::string& column, bool descending) const = 0;
  // Makes the index that gives the rows in the order of these columns (ties by key) unless it is
  // there already; one that cannot be made is no error, the rows are then sorted when read.
  virtual void EnsureOrderIndex(const std::vector<std::string>& columns) = 0;
  // Whether the index EnsureOrderIndex makes for these columns is known to be there, so that the
  // rows come in that order without a sort; none when only running the statement can tell.
  virtual std::optional<bool> HasOrderIndex(const std::vector<std::string>& columns) const {
    (void)columns;
    return std::nullopt;
  }

  // Whether rows are read with their version.
  virtual bool Versioned() const { return false; }
  // Reads up to `count` rows by their keys: the key, the version when Versioned, then every
  // column of the table. BindKeys gives it the keys, in ascending order.
  virtual std::unique_ptr<Statement> RowsByKeys(int count) = 0;
  virtual void BindKeys(Statement& statement, const std::vector<std::int64_t>& keys, int count) = 0;
  // The same for the rows whose keys lie between ?1 and ?2.
  virtual std::unique_ptr<Statement> RowsInRange() = 0;

  // Stores the changed values as a new row; answers its key.
  virtual std::int64_t InsertRow(const std::vector<std::string>& columns,
                                 const std::vector<CellValue>& values,
                                 const std::vector<bool>& changed) = 0;
  // EDatabaseError when the row is no longer there, ERecordChanged when it holds another version.
  virtual void UpdateRow(std::int64_t key, std::optional<std::int64_t> version,
                         const std::vector<std::string>& columns,
                         const std::vector<CellValue>& values,
                         const std::vector<bool>& changed) = 0;
  // A row no longer there is no error; ERecordChanged when it holds another version.
  virtual void DeleteRow(std::int64_t key, std::optional<std::int64_t> version) = 0;

 protected:
  TableAccess(std::string table, std::string key)
      : FTable(std::move(table)), FKey(std::move(key)) {}

 private:
  std::string FTable;
  std::string FKey;
};

}  // namespace dbengine
