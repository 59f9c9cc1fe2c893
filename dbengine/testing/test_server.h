#pragma once

// The PostgreSQL server the tests of lists on a server run against (see test-server beside this
// file): a throwaway cluster on a Unix socket in a private temporary folder.

#include <memory>
#include <string>

#include "platform/testing/scratch_dir.h"

namespace dbengine::testing {

class TestServer {
 public:
  // The run's server: the one ctest's fixture started for every test of the run, whose folder
  // the file $ZARIZE_TEST_SERVER_FILE names; else (a test program run by hand) one started for
  // this process alone and stopped when it ends. Null when there is none: Missing() says why.
  static TestServer* Shared();
  static std::string Missing();
  // A server of the caller's own, for a test that stops and starts it; null when there is none.
  // `file` is where its folder is noted.
  static std::unique_ptr<TestServer> Private(const std::string& file);

  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;
  ~TestServer();  // stops a server this object started

  // The folder of the server's socket.
  const std::string& Folder() const { return FFolder; }
  // A libpq connection string for a role of the server.
  std::string ConnInfo(const std::string& role) const;
  // Stops the server, keeping its data, and starts it again.
  void Halt();
  void Start();

 private:
  TestServer(std::string file, std::string folder, bool owned);
  static bool Run(const std::string& command, const std::string& file);

  std::string FFile;
  std::string FFolder;
  bool FOwned;
  bool FNoteFolder = false;
};

// The server's administrator, which makes the schemas and roles of the tests.
inline constexpr const char* kTestAdministrator = "zarize_test";

// A schema of its own on the run's server for one test, dropped with it, and link files to it:
// one for the administrator, who makes the tables, and one for each person, a role of their own
// that may read and change every table the administrator makes there.
class ServerSchema {
 public:
  ServerSchema(TestServer& server, const platform::testing::ScratchDir& scratch);
  ServerSchema(const ServerSchema&) = delete;
  ServerSchema& operator=(const ServerSchema&) = delete;
  ~ServerSchema();

  const std::string& Name() const { return FName; }
  // The link file to the schema as the administrator.
  const std::string& AdminLink() const { return FAdminLink; }
  // The link file to the schema as `person` (ASCII letters), made on first use.
  std::string PersonLink(const std::string& person);
  // The role a person connects as.
  std::string Role(const std::string& person) const { return FName + "_" + person; }
  // Runs statements of the Jet dialect as the administrator on the schema.
  void Run(std::initializer_list<std::string> statements) const;

 private:
  std::string WriteLink(const std::string& file, const std::string& role, bool inSchema) const;

  TestServer& FServer;
  const platform::testing::ScratchDir& FScratch;
  std::string FName;
  std::string FAdminLink;
};

}  // namespace dbengine::testing

// Skips the test, saying why, when there is no server to run it against.
#define ZARIZE_REQUIRE_TEST_SERVER()                        \
  if (::dbengine::testing::TestServer::Shared() == nullptr) \
  GTEST_SKIP() << ::dbengine::testing::TestServer::Missing()
