#include "dbengine/testing/test_server.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "dbengine/connection.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/server_link.h"

extern char** environ;

namespace dbengine::testing {
namespace {

constexpr int kMissingServer = 77;

std::string ReadLine(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

std::string& MissingReason() {
  static std::string reason;
  return reason;
}

// Where the process notes the folder of a server of its own: in a private folder, since the
// script writes beside the file. Empty when none can be made.
std::string NewPrivateFile() {
  char folder[] = "/tmp/zarize-pg-note.XXXXXX";
  return ::mkdtemp(folder) != nullptr ? std::string(folder) + "/server.folder" : std::string();
}

}  // namespace

TestServer::TestServer(std::string file, std::string folder, bool owned)
    : FFile(std::move(file)), FFolder(std::move(folder)), FOwned(owned) {}

TestServer::~TestServer() {
  if (!FOwned) return;
  Run("stop", FFile);
  if (FNoteFolder) ::rmdir(FFile.substr(0, FFile.rfind('/')).c_str());
}

bool TestServer::Run(const std::string& command, const std::string& file) {
  std::vector<std::string> args = {ZARIZE_TEST_SERVER_SCRIPT, command, file};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    MissingReason() = std::string("cannot run ") + ZARIZE_TEST_SERVER_SCRIPT;
    return false;
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    MissingReason() =
        WIFEXITED(status) && WEXITSTATUS(status) == kMissingServer
            ? "PostgreSQL server programs not found (/usr/lib/postgresql/*/bin/initdb); "
              "scripts/deps installs them"
            : "the test server did not start (" + command + "); see " +
                  std::string(ZARIZE_TEST_SERVER_SCRIPT);
    return false;
  }
  return true;
}

TestServer* TestServer::Shared() {
  static std::unique_ptr<TestServer> server = [] {
    std::unique_ptr<TestServer> found;
    if (const char* file = std::getenv("ZARIZE_TEST_SERVER_FILE")) {
      const std::string folder = ReadLine(file);
      if (!folder.empty()) found.reset(new TestServer(file, folder, false));
    }
    if (!found) {
      const std::string file = NewPrivateFile();
      found = Private(file);
      if (found)
        found->FNoteFolder = true;
      else if (!file.empty())
        ::rmdir(file.substr(0, file.rfind('/')).c_str());
    }
    return found;
  }();
  return server.get();
}

std::string TestServer::Missing() {
  return MissingReason().empty() ? "no test server" : MissingReason();
}

std::unique_ptr<TestServer> TestServer::Private(const std::string& file) {
  if (!Run("new", file)) return nullptr;
  return std::unique_ptr<TestServer>(new TestServer(file, ReadLine(file), true));
}

std::string TestServer::ConnInfo(const std::string& role) const {
  return "host=" + FFolder + " port=5432 dbname=postgres user=" + role;
}

void TestServer::Halt() {
  Run("halt", FFile);
}

void TestServer::Start() {
  Run("start", FFile);
}

// ---- schemas ----

ServerSchema::ServerSchema(TestServer& server, const platform::testing::ScratchDir& scratch)
    : FServer(server), FScratch(scratch) {
  static std::atomic<int> made{0};
  char name[64];
  std::snprintf(name, sizeof name, "t%d_%d", static_cast<int>(::getpid()), ++made);
  FName = name;
  // Made through a link that names no schema yet.
  FAdminLink = WriteLink("server-admin.mdb", kTestAdministrator, false);
  TADOConnection conn;
  conn.ConnectionString = JetConnectionString(FAdminLink);
  conn.Open();
  conn.Execute("CREATE SCHEMA " + FName);
  WriteLink("server-admin.mdb", kTestAdministrator, true);
}

ServerSchema::~ServerSchema() {
  try {
    TADOConnection conn;
    conn.ConnectionString = JetConnectionString(FAdminLink);
    conn.Open();
    conn.Execute("DROP SCHEMA " + FName + " CASCADE");
  } catch (const std::exception&) {
    // The cluster goes with the run.
  }
}

std::string ServerSchema::WriteLink(const std::string& file, const std::string& role,
                                    bool inSchema) const {
  TServerLink link;
  link.ConnInfo = FServer.ConnInfo(role);
  if (inSchema) link.Schema = FName;
  return FScratch.Write(file, ServerLinkText(link));
}

std::string ServerSchema::PersonLink(const std::string& person) {
  const std::string file = "server-" + person + ".mdb";
  if (::access(FScratch.Path(file).c_str(), F_OK) == 0) return FScratch.Path(file);
  const std::string role = Role(person);
  Run({"CREATE ROLE " + role + " LOGIN", "GRANT USAGE ON SCHEMA " + FName + " TO " + role,
       "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA " + FName + " TO " + role,
       "ALTER DEFAULT PRIVILEGES IN SCHEMA " + FName +
           " GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO " + role});
  return WriteLink(file, role, true);
}

void ServerSchema::Run(std::initializer_list<std::string> statements) const {
  TADOConnection conn;
  conn.ConnectionString = JetConnectionString(FAdminLink);
  conn.Open();
  for (const std::string& statement : statements) conn.Execute(statement);
}

}  // namespace dbengine::testing
