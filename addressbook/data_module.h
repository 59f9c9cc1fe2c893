#pragma once

#include <optional>
#include <string>

#include "dbengine/connection.h"
#include "dbengine/query.h"
#include "dbengine/table.h"

namespace addressbook {

// What CreateMDBFile's requests to the driver installer came to: each one that failed keeps the
// installer's reason; one that worked, or was not made, holds nothing. True when none failed.
struct MdbFileRequests {
  std::optional<std::string> DataSourceFailure;  // registering the data source "ZAZAVOROR"
  std::optional<std::string> FileFailure;        // creating the empty database file

  explicit operator bool() const { return !DataSourceFailure && !FileFailure; }
};

// The data module: the one connection to the current address database, the table the record
// list shows and the query of the label hand-off. At most one address database is open at a
// time. Nothing here talks to the user: OpenDB, CloseDB and CreateTables never throw and answer
// false, CreateMDBFile answers which requests failed and why, and the caller reports it.
class Tdm {
 public:
  Tdm();
  Tdm(const Tdm&) = delete;
  Tdm& operator=(const Tdm&) = delete;

  dbengine::TADOConnection conn;
  dbengine::TADOQuery Qmember;
  dbengine::TADOTable adoTblMember;

  bool OpenDB(const std::string& path, const std::string& name);
  bool CloseDB();
  // Registers the data source and, unless a file is at `path`, has the driver create the empty
  // file.
  MdbFileRequests CreateMDBFile(const std::string& path);
  // The same, but the data source names `path` while the driver creates the file at `filePath`,
  // where a replacement is built before it takes the place of the file at `path`.
  MdbFileRequests CreateMDBFile(const std::string& path, const std::string& filePath);
  bool CreateTables(const std::string& path, const std::string& name);

  const std::string& DBPath() const { return FDBPath; }
  const std::string& DBName() const { return FDBName; }

 private:
  std::string FDBPath;
  std::string FDBName;
};

// The two statements every new address database is made with, in the order they run.
extern const char* const kCreateGroupTable;
extern const char* const kCreateAddressTable;

}  // namespace addressbook
