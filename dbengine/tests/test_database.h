#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "dbengine/connection.h"
#include "platform/testing/scratch_dir.h"

namespace dbengine::testing {

// The connection string for a file (quoted), with some of the properties the programs pass.
std::string ConnectionStringFor(const std::string& path);

// A new database file at path, holding what the statements make.
void CreateDatabase(const std::string& path, std::initializer_list<const char*> statements);

// Runs the statements on the file from another process, as another program would; fails the
// test when they did not all run.
void ChangeFromAnotherProcess(const std::string& path, const std::vector<std::string>& statements);

// A scratch folder with one database file made by the statements, and a connection to it.
class DatabaseFixture {
 public:
  explicit DatabaseFixture(std::initializer_list<const char*> statements);
  const std::string& Path() const { return FPath; }
  // Opens conn (again) on the file.
  void Connect();
  // A first column of the first row of a statement run on a connection of its own.
  std::string Scalar(const std::string& jetSql) const;

  platform::testing::ScratchDir scratch;
  TADOConnection conn;

 private:
  std::string FPath;
};

}  // namespace dbengine::testing
