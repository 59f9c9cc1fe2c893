#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "dbengine/connection.h"
#include "dbengine/testing/test_server.h"
#include "platform/testing/scratch_dir.h"

namespace dbengine::testing {

// The connection string for a file (quoted), with some of the properties the programs pass.
std::string ConnectionStringFor(const std::string& path);

// A new database file at path, holding what the statements make.
void CreateDatabase(const std::string& path, std::initializer_list<const char*> statements);

// Runs the statements on the file from another process, as another program would; fails the
// test when they did not all run.
void ChangeFromAnotherProcess(const std::string& path, const std::vector<std::string>& statements);

// Where the data of a test lives: a database file, or a schema of the test server named by a
// link file.
enum class TStorage { File, Server };
const char* StorageName(TStorage storage);

// The tests of a suite that derives from this run on each storage, GetParam() naming it
// (instantiated with ZARIZE_ON_BOTH_STORAGES); on the server they skip, saying why, when there is
// no test server.
class OnBothStorages : public ::testing::TestWithParam<TStorage> {
 protected:
  void SetUp() override {
    if (GetParam() == TStorage::Server) ZARIZE_REQUIRE_TEST_SERVER();
  }
};

// A scratch folder with one database made by the statements, and a connection to it: a file, or
// a schema of its own on the test server (which the test must have checked is there).
class DatabaseFixture {
 public:
  explicit DatabaseFixture(std::initializer_list<const char*> statements,
                           TStorage storage = TStorage::File);
  ~DatabaseFixture();
  // The database file, or the link file to the schema.
  const std::string& Path() const { return FPath; }
  // The schema on the server; null for a file.
  ServerSchema* Server() const { return FServer.get(); }
  // Opens conn (again) on the file.
  void Connect();
  // A first column of the first row of a statement run on a connection of its own.
  std::string Scalar(const std::string& jetSql) const;

  platform::testing::ScratchDir scratch;
  TADOConnection conn;

 private:
  std::unique_ptr<ServerSchema> FServer;
  std::string FPath;
};

}  // namespace dbengine::testing

#define ZARIZE_ON_BOTH_STORAGES(suite)                          \
  INSTANTIATE_TEST_SUITE_P(                                     \
      Storages, suite,                                          \
      ::testing::Values(::dbengine::testing::TStorage::File,    \
                        ::dbengine::testing::TStorage::Server), \
      [](const auto& info) { return std::string(::dbengine::testing::StorageName(info.param)); })
