#pragma once

#include <string>

#include "dbengine/connection.h"
#include "dbengine/query.h"
#include "dbengine/table.h"

namespace ui {
class Screen;
}

namespace addressbook {

// The data module: the one connection to the current address database, the table the record
// list shows and the query of the label hand-off. At most one address database is open at a
// time. OpenDB, CloseDB and CreateTables never show anything and never throw: they answer false
// and the caller reports it.
class Tdm {
 public:
  explicit Tdm(ui::Screen& screen);
  Tdm(const Tdm&) = delete;
  Tdm& operator=(const Tdm&) = delete;

  dbengine::TADOConnection conn;
  dbengine::TADOQuery Qmember;
  dbengine::TADOTable adoTblMember;

  bool OpenDB(const std::string& path, const std::string& name);
  bool CloseDB();
  // Registers the data source and has the driver create the empty file; shows its own messages.
  bool CreateMDBFile(const std::string& path);
  // The same, but the data source names `path` while the driver creates the file at `filePath`,
  // where a replacement is built before it takes the place of the file at `path`.
  bool CreateMDBFile(const std::string& path, const std::string& filePath);
  bool CreateTables(const std::string& path, const std::string& name);

  const std::string& DBPath() const { return FDBPath; }
  const std::string& DBName() const { return FDBName; }

 private:
  ui::Screen& FScreen;
  std::string FDBPath;
  std::string FDBName;
};

// The two statements every new address database is made with, in the order they run.
extern const char* const kCreateGroupTable;
extern const char* const kCreateAddressTable;

}  // namespace addressbook
