#include "dbengine/server_link.h"

#include <gtest/gtest.h>

#include <string>

#include "dbengine/access/access_file.h"
#include "dbengine/connection.h"
#include "dbengine/errors.h"
#include "dbengine/tests/test_database.h"
#include "platform/testing/scratch_dir.h"

namespace dbengine {
namespace {

const std::string kMark = std::string(kServerLinkMark) + "\n";

// What each link file reads as: its settings, or the error that names why it is refused.
TEST(ServerLink, ReadsItsSettingsAndRefusesAnythingElse) {
  struct {
    const char* label;
    std::string text;
    const char* connInfo;
    const char* service;
    const char* schema;
    const char* error;  // a part of the error's text; null when the file is good
  } cases[] = {
      {"connection string and schema",
       kMark + "# the office list\nconninfo = host=db.office dbname=office\n\nschema = 주소록\n",
       "host=db.office dbname=office", "", "주소록", nullptr},
      {"service, CRLF line ends",
       std::string(kServerLinkMark) + "\r\n; a comment\r\nservice=office\r\n", "", "office", "",
       nullptr},
      {"URI", kMark + "conninfo = postgresql://kim@db.office/office\n",
       "postgresql://kim@db.office/office", "", "", nullptr},
      {"password in the connection string",
       kMark + "conninfo = host=db dbname=office password=secret\n", "", "", "", "password"},
      {"empty password", kMark + "conninfo = host=db password=''\n", "", "", "", "password"},
      {"password in a URI", kMark + "conninfo = postgresql://kim:secret@db/office\n", "", "", "",
       "password"},
      {"neither", kMark + "schema = s\n", "", "", "", "exactly one of conninfo and service"},
      {"both", kMark + "conninfo = host=db\nservice = office\n", "", "", "",
       "exactly one of conninfo and service"},
      {"unknown setting", kMark + "conninfo = host=db\nuser = kim\n", "", "", "",
       "unknown setting 'user' (line 3)"},
      {"repeated setting", kMark + "conninfo = host=a\nconninfo = host=b\n", "", "", "", "twice"},
      {"no setting", kMark + "conninfo\n", "", "", "", "no setting (line 2)"},
      {"bad connection string", kMark + "conninfo = host='db\n", "", "", "", "cannot be read"},
      {"not marked", "conninfo = host=db\n", "", "", "", "does not start with"},
      {"too large", kMark + "# " + std::string(70000, 'x') + "\nservice = office\n", "", "", "",
       "too large"},
  };
  platform::testing::ScratchDir scratch;
  for (const auto& c : cases) {
    const std::string path = scratch.Write("list.mdb", c.text);
    try {
      const TServerLink link = ReadServerLink(path);
      EXPECT_EQ(c.error, nullptr) << c.label << ": read without error";
      EXPECT_EQ(link.ConnInfo, c.connInfo) << c.label;
      EXPECT_EQ(link.Service, c.service) << c.label;
      EXPECT_EQ(link.Schema, c.schema) << c.label;
    } catch (const EDatabaseError& error) {
      ASSERT_NE(c.error, nullptr) << c.label << ": " << error.what();
      EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos)
          << c.label << ": " << error.what();
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << c.label;
    }
  }
}

TEST(ServerLink, WrittenSettingsReadBack) {
  platform::testing::ScratchDir scratch;
  const TServerLink link{"host=/run/postgresql dbname=office user=kim", "", "addresses"};
  const std::string path = scratch.Write("list.mdb", ServerLinkText(link));
  const TServerLink read = ReadServerLink(path);
  EXPECT_EQ(read.ConnInfo, link.ConnInfo);
  EXPECT_EQ(read.Service, "");
  EXPECT_EQ(read.Schema, link.Schema);
  // A line break would start another setting: refused rather than written.
  EXPECT_THROW(CheckServerLink({"host=db\nservice=x", "", ""}, "The connection string"),
               EDatabaseError);
}

// The first bytes tell a link file from a database file and a genuine Access file, whatever its
// name; the connection opens each as what it is.
TEST(ServerLink, TheFirstLineTellsItFromADatabaseFile) {
  platform::testing::ScratchDir scratch;
  const std::string database = scratch.Path("real.mdb");
  testing::CreateDatabase(database, {"CREATE TABLE t (a LONG)"});
  const std::string link = scratch.Write("link.mdb", kMark + "service = office\n");
  const std::string access =
      scratch.Write("access.mdb", std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20));
  EXPECT_FALSE(IsServerLink(database));
  EXPECT_TRUE(IsServerLink(link));
  EXPECT_FALSE(IsServerLink(access));
  EXPECT_FALSE(IsAccessFile(link));
  EXPECT_FALSE(IsServerLink(scratch.Write("short.mdb", "[zarize")));
  EXPECT_FALSE(IsServerLink(scratch.Path("missing.mdb")));

  // A link with a password is refused at open, before anything is sent anywhere.
  const std::string secret =
      scratch.Write("secret.mdb", kMark + "conninfo = host=/nowhere password=hunter2\n");
  TADOConnection conn;
  conn.ConnectionString = testing::ConnectionStringFor(secret);
  try {
    conn.Open();
    ADD_FAILURE() << "opened";
  } catch (const EDatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("~/.pgpass"), std::string::npos) << error.what();
    EXPECT_EQ(std::string(error.what()).find("hunter2"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(conn.Connected());
}

}  // namespace
}  // namespace dbengine
