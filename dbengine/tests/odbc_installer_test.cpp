#include "dbengine/odbc_installer.h"

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <filesystem>

#include "dbengine/connection.h"
#include "dbengine/query.h"
#include "dbengine/tests/test_database.h"
#include "platform/profile_file.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/unprivileged.h"

namespace dbengine {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDriver = "Microsoft Access Driver (*.mdb)";

// The items as the data module lists them: each ended by a NUL, one more NUL at the end; the
// path of CREATE_DB in quotes, its own quotes doubled, and `after` behind the closing quote.
std::string Attributes(const std::string& path, bool create, const std::string& after = "") {
  std::string items = std::string("DSN=ZAZAVOROR") + '\0' + "DBQ=" + path + '\0' + "Exclusive=1" +
                      '\0' + "Description=ZARIZE Data" + '\0';
  if (create) {
    std::string quoted;
    for (char c : path) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    items += "CREATE_DB=\"" + quoted + "\"" + after + '\0';
  }
  return items + '\0';
}

class OdbcInstallerTest : public ::testing::Test {
 protected:
  OdbcInstallerTest() : odbcIni("ODBCINI", scratch.Path("odbc.ini")) {}

  std::string Registered(const std::string& key) const {
    return platform::ProfileFile(scratch.Path("odbc.ini")).ReadString("ZAZAVOROR", key, "<none>");
  }

  platform::testing::ScratchDir scratch;
  platform::testing::ScopedEnv odbcIni;
};

TEST_F(OdbcInstallerTest, CreatesAnEmptyDatabaseAndRegistersTheDataSource) {
  const std::string path = scratch.Path("새 주소록.mdb");
  ASSERT_TRUE(ConfigDataSource(ODBC_ADD_SYS_DSN, kDriver, Attributes(path, true)));
  EXPECT_EQ(InstallerError(), "");
  ASSERT_TRUE(fs::exists(path));
  EXPECT_GT(fs::file_size(path), 0u);

  TADOConnection conn;
  conn.ConnectionString = testing::ConnectionStringFor(path);
  ASSERT_NO_THROW(conn.Open());
  TADOQuery tables;
  tables.Connection = &conn;
  tables.SQL.Add("SELECT name FROM sqlite_master");
  tables.Open();
  EXPECT_TRUE(tables.IsEmpty());
  conn.Execute("CREATE TABLE addr_rec (ID Counter Primary Key,이름 TEXT(32))");

  EXPECT_EQ(Registered("Driver"), kDriver);
  EXPECT_EQ(Registered("DBQ"), path);
  EXPECT_EQ(Registered("Exclusive"), "1");
  EXPECT_EQ(Registered("Description"), "ZARIZE Data");
  EXPECT_EQ(Registered("CREATE_DB"), "<none>");
}

TEST_F(OdbcInstallerTest, WithoutCreateDbOnlyRegisters) {
  const std::string path = scratch.Path("a.mdb");
  EXPECT_TRUE(ConfigDataSource(ODBC_ADD_SYS_DSN, kDriver, Attributes(path, false)));
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(Registered("DBQ"), path);
}

TEST_F(OdbcInstallerTest, TheFileIsCreatedAtThePathInQuotesWhateverItHolds) {
  struct {
    std::string name;
    std::string after;     // behind the closing quote: a sort order the driver ignores
    std::string cutShort;  // where a reading that stops at the first quote would create it
  } cases[] = {
      {"q\"x\".mdb", "", "q"},
      {"list.mdb ", "", "list.mdb"},
      {"\"lead.mdb", " General", ""},
      {"plain.mdb", " General", "plain.mdb\" General"},
  };
  for (const auto& c : cases) {
    const std::string path = scratch.Path(c.name);
    EXPECT_TRUE(ConfigDataSource(ODBC_ADD_SYS_DSN, kDriver, Attributes(path, true, c.after)))
        << c.name;
    EXPECT_TRUE(fs::is_regular_file(path)) << c.name;
    EXPECT_GT(fs::file_size(path), 0u) << c.name;
    if (!c.cutShort.empty()) {
      EXPECT_FALSE(fs::exists(scratch.Path(c.cutShort))) << c.name;
    }
    EXPECT_NE(scratch.Read("odbc.ini").find("DBQ=" + path + "\n"), std::string::npos) << c.name;
  }
}

TEST_F(OdbcInstallerTest, RefusesToCreateWhereItCannot) {
  const std::string existing = scratch.Write("existing.mdb", "keep me");
  fs::create_directory(scratch.Path("locked"));
  ::chmod(scratch.Path("locked").c_str(), 0755);
  struct {
    const char* label;
    std::string path;
    bool unprivileged;
    const char* why;  // what the error query says, after the path
  } cases[] = {
      {"existing file", existing, false, "File exists"},
      {"missing folder", scratch.Path("no/such/folder/a.mdb"), false, "No such file or directory"},
      {"folder not writable", scratch.Path("locked/a.mdb"), true, "Permission denied"},
  };
  for (const auto& c : cases) {
    const auto attempt = [&] {
      EXPECT_FALSE(ConfigDataSource(ODBC_ADD_SYS_DSN, kDriver, Attributes(c.path, true)))
          << c.label;
      EXPECT_EQ(InstallerError(), "Cannot create the database file '" + c.path + "': " + c.why)
          << c.label;
    };
    if (c.unprivileged)
      platform::testing::RunAsUnprivileged(attempt);
    else
      attempt();
  }
  EXPECT_EQ(scratch.Read("existing.mdb"), "keep me");
  EXPECT_FALSE(fs::exists(scratch.Path("locked/a.mdb")));
  EXPECT_EQ(Registered("DBQ"), "<none>") << "a failed request registers nothing";
}

TEST_F(OdbcInstallerTest, RefusesRequestsItDoesNotKnowAndItemsWithoutADataSourceName) {
  const std::string path = scratch.Path("a.mdb");
  struct {
    int request;
    std::string attributes;
    const char* why;
  } cases[] = {
      {3, Attributes(path, true), "request 3 is not known"},
      {ODBC_ADD_SYS_DSN, std::string("DBQ=/tmp/x.mdb\0\0", 16),
       "the attributes name no data source (DSN=)"},
      {ODBC_ADD_SYS_DSN, std::string("DSN\0\0", 5), "an attribute has no key=value form"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ConfigDataSource(c.request, kDriver, c.attributes)) << c.why;
    EXPECT_EQ(InstallerError(), c.why);
  }
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(OdbcInstallerTest, UsesTheHomeFolderFileWithoutOdbcIniAndMakesItPrivate) {
  platform::testing::ScopedEnv noOdbcIni("ODBCINI", std::nullopt);
  platform::testing::ScopedEnv home("HOME", scratch.Root());
  platform::testing::ScopedUmask openUmask(0);
  EXPECT_TRUE(ConfigDataSource(ODBC_ADD_SYS_DSN, kDriver, Attributes("/tmp/x.mdb", false)));
  EXPECT_EQ(platform::ProfileFile(scratch.Path(".odbc.ini")).ReadString("ZAZAVOROR", "DBQ", ""),
            "/tmp/x.mdb");
  struct stat info;
  ASSERT_EQ(::stat(scratch.Path(".odbc.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  // One the user made readable to others stays as the user made it.
  ASSERT_EQ(::chmod(scratch.Path(".odbc.ini").c_str(), 0644), 0);
  EXPECT_TRUE(ConfigDataSource(ODBC_ADD_SYS_DSN, kDriver, Attributes("/tmp/y.mdb", false)));
  ASSERT_EQ(::stat(scratch.Path(".odbc.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
}

}  // namespace
}  // namespace dbengine
