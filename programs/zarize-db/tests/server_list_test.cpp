// Address lists on the test run's PostgreSQL server, made and used through zarize-db as an office
// would: one person makes the list and shares it, each person uses it through a link file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "addressbook/tests/address_db_fixture.h"
#include "dbengine/connection.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/query.h"
#include "dbengine/server_link.h"
#include "dbengine/testing/test_server.h"
#include "platform/cp949.h"
#include "platform/folders.h"
#include "programs/zarize-db/tests/command_run.h"

namespace zarizedb::testing {
namespace {

// A list as a spreadsheet program saves it: two of three records ticked.
const std::string kList = platform::ToCp949(
    "이름,존칭,우편번호,주소,상세주소,회사,선택\r\n"
    "홍길동,님,100-011,\"서울 중구, 충무로1가\",2층,가나상사,True\r\n"
    "김철수,귀하,600-011,부산 중구 중앙동,,,False\r\n"
    "이영희,님,700-011,대구 중구 동인동,301호,다라물산,\r\n");

class ServerListCommands : public ::testing::Test, public addressbook::testing::AddressDbFixture {
 protected:
  void SetUp() override {
    ZARIZE_REQUIRE_TEST_SERVER();
    server = dbengine::testing::TestServer::Shared();
    schema = std::make_unique<dbengine::testing::ServerSchema>(*server, dir);
  }

  // A role of the server that may log in, member of `group` when given, and its link file.
  std::string Person(const std::string& name, const std::string& group = "") {
    const std::string role = schema->Role(name);
    schema->Run({"CREATE ROLE " + role + " LOGIN" + (group.empty() ? "" : " IN ROLE " + group)});
    const dbengine::TServerLink link{server->ConnInfo(role), "", schema->Name()};
    return dir.Write(name + ".mdb", dbengine::ServerLinkText(link));
  }
  std::string AdminConnInfo() const {
    return server->ConnInfo(dbengine::testing::kTestAdministrator);
  }
  // Whether the schema holds a table of this name, asked as its administrator.
  bool HasTable(const std::string& table) {
    dbengine::TADOConnection conn;
    conn.ConnectionString = dbengine::JetConnectionString(schema->AdminLink());
    conn.Open();
    dbengine::TADOQuery query;
    query.Connection = &conn;
    query.SQL.Add("SELECT count(*) FROM pg_tables WHERE schemaname = :s AND tablename = :t");
    query.Parameters.ParamByName("s").Value = schema->Name();
    query.Parameters.ParamByName("t").Value = table;
    query.Open();
    return query.Fields(0).AsString() != "0";
  }

  dbengine::testing::TestServer* server = nullptr;
  std::unique_ptr<dbengine::testing::ServerSchema> schema;
};

// What a list on the server gives is byte for byte what a file list with the same records gives:
// the count, the spreadsheet export and the label hand-off's layout.
TEST_F(ServerListCommands, AListOnTheServerWorksAsAFileDoes) {
  const std::string link = dir.Path("office.mdb");
  const TRun created =
      RunCommand({"create", "--server", AdminConnInfo(), link, "--schema", schema->Name()});
  ASSERT_EQ(created.Exit, 0) << created.Err;
  EXPECT_EQ(created.Out, "created the list on the server and its link file " + link + "\n");
  EXPECT_EQ(dir.Read("office.mdb"),
            dbengine::ServerLinkText({AdminConnInfo(), "", schema->Name()}));
  const std::string file = dir.Path("file.mdb");
  ASSERT_EQ(RunCommand({"create", file}).Exit, 0);

  const std::string csv = dir.Write("list.csv", kList);
  for (const std::string& list : {link, file}) {
    const TRun imported = RunCommand({"import", list, csv});
    ASSERT_EQ(imported.Exit, 0) << imported.Err;
    EXPECT_EQ(imported.Out, "imported 3 records into " + list + "\n");
  }
  for (const std::vector<std::string>& tail :
       {std::vector<std::string>{}, {"--ticked"}, {"--label", "--ticked"}, {"--label"}}) {
    std::vector<std::string> onServer = {"export", link};
    std::vector<std::string> onFile = {"export", file};
    onServer.insert(onServer.end(), tail.begin(), tail.end());
    onFile.insert(onFile.end(), tail.begin(), tail.end());
    const TRun fromServer = RunCommand(onServer);
    EXPECT_EQ(fromServer.Exit, 0) << fromServer.Err;
    EXPECT_EQ(fromServer.Out, RunCommand(onFile).Out) << tail.size();
  }
  EXPECT_EQ(RunCommand({"count", link}).Out, "records: 3\nticked: 2\n");
  EXPECT_TRUE(HasTable("addr_rec_shared")) << "the ticks are each person's own";
}

// Nothing is made on the server, and no link file is written, when the command cannot be
// carried out; an existing file is never replaced without --force.
TEST_F(ServerListCommands, RefusesAPasswordAnUnreachableServerAndAnExistingFile) {
  const std::string link = dir.Path("office.mdb");
  const TRun secret = RunCommand({"create", "--server", AdminConnInfo() + " password=hunter2", link,
                                  "--schema", schema->Name()});
  EXPECT_EQ(secret.Exit, 1);
  EXPECT_NE(secret.Err.find("~/.pgpass"), std::string::npos) << secret.Err;
  EXPECT_EQ(secret.Err.find("hunter2"), std::string::npos) << secret.Err;

  const TRun unreachable =
      RunCommand({"create", "--server", "host=" + dir.Path("no-server") + " dbname=x", link});
  EXPECT_EQ(unreachable.Exit, 1);
  EXPECT_NE(unreachable.Err.find("cannot be reached"), std::string::npos) << unreachable.Err;
  EXPECT_FALSE(platform::FileExists(link));
  EXPECT_FALSE(HasTable("GROUP_ID"));

  dir.Write("office.mdb", "the user's own file");
  const TRun existing =
      RunCommand({"create", "--server", AdminConnInfo(), link, "--schema", schema->Name()});
  EXPECT_EQ(existing.Exit, 1);
  EXPECT_EQ(existing.Err, "zarize-db: " + link + " exists; add --force to replace it\n");
  EXPECT_EQ(dir.Read("office.mdb"), "the user's own file");
  EXPECT_FALSE(HasTable("GROUP_ID"));
  ASSERT_EQ(RunCommand({"create", "--server", AdminConnInfo(), link, "--schema", schema->Name(),
                        "--force"})
                .Exit,
            0);
  EXPECT_TRUE(dbengine::IsServerLink(link));
  // A list is there now: another is refused, and the link file stays as it is.
  const TRun twice = RunCommand(
      {"create", "--server", AdminConnInfo(), dir.Path("again.mdb"), "--schema", schema->Name()});
  EXPECT_EQ(twice.Exit, 1);
  EXPECT_NE(twice.Err.find("GROUP_ID"), std::string::npos) << twice.Err;
  EXPECT_FALSE(platform::FileExists(dir.Path("again.mdb")));
}

// The office's people share the list through a group role; each counts and exports the ticks
// they set themselves, and a role the list is not shared with cannot use it.
TEST_F(ServerListCommands, SharedWithTheOfficeEachPersonPrintsTheirOwnTicks) {
  const std::string office = schema->Role("office");
  schema->Run({"CREATE ROLE " + office});
  const std::string kim = Person("kim", office);
  const std::string lee = Person("lee", office);
  const std::string stranger = Person("stranger");
  ASSERT_EQ(RunCommand({"create", "--server", AdminConnInfo(), dir.Path("admin.mdb"), "--schema",
                        schema->Name(), "--share-with", office})
                .Exit,
            0);

  const std::string csv = dir.Write("list.csv", kList);
  ASSERT_EQ(RunCommand({"import", kim, csv}).Exit, 0);
  EXPECT_EQ(RunCommand({"count", kim}).Out, "records: 3\nticked: 2\n");
  EXPECT_EQ(RunCommand({"count", lee}).Out, "records: 3\nticked: 0\n");
  ASSERT_EQ(RunCommand({"import", lee, dir.Write("one.csv", "이름,선택\n박민수,True\n")}).Exit, 0);
  EXPECT_EQ(RunCommand({"count", lee}).Out, "records: 4\nticked: 1\n");
  EXPECT_EQ(RunCommand({"count", kim}).Out, "records: 4\nticked: 2\n");
  EXPECT_EQ(RunCommand({"export", lee, "--label", "--ticked"}).Out,
            platform::ToCp949("우편번호,주소,상세주소,회사,이름,존칭\n,,,,박민수,\n"));

  // Not shared with: the schema's tables are not there for the stranger.
  const TRun refused = RunCommand({"count", stranger});
  EXPECT_EQ(refused.Exit, 1);
  EXPECT_NE(refused.Err.find("no such table: addr_rec"), std::string::npos) << refused.Err;
}

}  // namespace
}  // namespace zarizedb::testing
