#include "dbengine/tests/test_database.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "dbengine/database_creation.h"
#include "dbengine/query.h"

namespace dbengine::testing {

std::string ConnectionStringFor(const std::string& path) {
  std::string quoted;
  for (char c : path) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=\"" + quoted +
         "\";Mode=ReadWrite;Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5";
}

void CreateDatabase(const std::string& path, std::initializer_list<const char*> statements) {
  CreateEmptyDatabase(path);
  TADOConnection conn;
  conn.ConnectionString = ConnectionStringFor(path);
  conn.Open();
  for (const char* statement : statements) conn.Execute(statement);
}

void ChangeFromAnotherProcess(const std::string& path, const std::vector<std::string>& statements) {
  std::vector<std::string> args = {ZARIZE_OTHER_WRITER, path};
  args.insert(args.end(), statements.begin(), statements.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process failed";
}

DatabaseFixture::DatabaseFixture(std::initializer_list<const char*> statements)
    : FPath(scratch.Path("test.mdb")) {
  CreateDatabase(FPath, statements);
  Connect();
}

void DatabaseFixture::Connect() {
  conn.Close();
  conn.ConnectionString = ConnectionStringFor(FPath);
  conn.Open();
}

std::string DatabaseFixture::Scalar(const std::string& jetSql) const {
  TADOConnection other;
  other.ConnectionString = ConnectionStringFor(FPath);
  TADOQuery query;
  query.Connection = &other;
  query.SQL.Add(jetSql);
  query.Open();
  return query.IsEmpty() ? "<no row>" : query.Fields(0).AsString();
}

}  // namespace dbengine::testing
