// A list on a database server used as an office uses it: several people, each connected as a
// role of their own, at desks (processes) of their own, against the test run's server.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dbengine/connection.h"
#include "dbengine/errors.h"
#include "dbengine/query.h"
#include "dbengine/quoting.h"
#include "dbengine/scoped_transaction.h"
#include "dbengine/server_link.h"
#include "dbengine/table.h"
#include "dbengine/testing/test_server.h"
#include "dbengine/tests/test_database.h"
#include "platform/testing/scoped_env.h"

namespace dbengine {
namespace {

constexpr const char* kCreate =
    "CREATE TABLE addr_rec (ID Counter Primary Key,GID LONG,선택 YesNo,이름 TEXT(32),"
    "SDATE DATETIME)";
constexpr const char* kFill =
    "INSERT INTO addr_rec (GID,이름,선택) VALUES (1,'가',NULL),(2,'나',NULL),(3,'다',NULL)";

std::string Names(TDataSet& dataSet) {
  std::string names;
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
    names += dataSet.FieldByName("이름").AsString();
  return names.empty() ? "·" : names;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EDatabaseError& error) {
    return error.what();
  }
  return "no error";
}

// A person's desk: a connection through their own link file, the list open on it.
struct TDesk {
  explicit TDesk(const std::string& link) {
    conn.ConnectionString = testing::ConnectionStringFor(link);
    table.Connection = &conn;
    table.TableName = "addr_rec";
    table.IndexFieldNames = "GID";
    table.Open();
  }
  void Go(const std::string& name) {
    for (table.First(); !table.Eof(); table.Next())
      if (table.FieldByName("이름").AsString() == name) return;
    ADD_FAILURE() << name << " is not in the list";
  }
  std::string Query(const std::string& sql) {
    TADOQuery query;
    query.Connection = &conn;
    query.SQL.Add(sql);
    query.Open();
    return Names(query);
  }

  TADOConnection conn;
  TADOTable table;
};

class ServerList : public ::testing::Test {
 protected:
  void SetUp() override {
    ZARIZE_REQUIRE_TEST_SERVER();
    schema = std::make_unique<testing::ServerSchema>(*testing::TestServer::Shared(), scratch);
    schema->Run({kCreate, kFill});
  }
  void MakeTicksPerPerson() {
    TADOConnection admin;
    admin.ConnectionString = testing::ConnectionStringFor(schema->AdminLink());
    admin.Open();
    admin.MakeColumnPerUser("addr_rec", "선택");
  }

  platform::testing::ScratchDir scratch;
  std::unique_ptr<testing::ServerSchema> schema;
};

// Each person ticks for themselves; the records are everyone's. The statements of the programs
// (the label query, WHERE 선택=1, the grid's check column) work on the list unchanged.
TEST_F(ServerList, EachPersonsTicksAreTheirOwn) {
  MakeTicksPerPerson();
  TDesk kim(schema->PersonLink("kim"));
  TDesk lee(schema->PersonLink("lee"));
  ASSERT_EQ(kim.table.FieldCount(), 5);
  EXPECT_EQ(kim.table.Fields(2).FieldName(), "선택");
  EXPECT_EQ(kim.table.Fields(2).DataType(), ftBoolean);
  EXPECT_EQ(kim.table.Fields(0).DataType(), ftAutoInc);
  EXPECT_EQ(kim.table.Fields(3).Size(), 32);

  kim.Go("가");
  kim.table.Edit();
  kim.table.FieldByName("선택").SetAsBoolean(true);
  kim.table.Post();
  lee.conn.Execute("UPDATE addr_rec SET 선택=TRUE WHERE 이름='나'");
  lee.conn.Execute("UPDATE addr_rec SET 선택=0 WHERE 이름='다'");

  const std::string label = "SELECT 이름 FROM addr_rec WHERE 선택=TRUE ORDER BY 이름";
  EXPECT_EQ(kim.Query(label), "가");
  EXPECT_EQ(lee.Query(label), "나");
  EXPECT_EQ(lee.Query("SELECT 이름 FROM addr_rec WHERE 선택=1"), "나");
  EXPECT_EQ(lee.Query("SELECT 이름 FROM addr_rec WHERE 선택=0"), "다");
  lee.table.Refresh();
  lee.Go("가");
  EXPECT_EQ(lee.table.FieldByName("선택").AsString(), "") << "kim's tick is not lee's";

  // A record one adds (ticked, as the entry dialog adds it) is everyone's, ticked for its maker.
  lee.table.Insert();
  lee.table.FieldByName("이름").SetAsString("라");
  lee.table.FieldByName("선택").SetAsBoolean(true);
  lee.table.Post();
  EXPECT_EQ(lee.Query(label), "나라");
  kim.table.Refresh();
  EXPECT_EQ(Names(kim.table), "라가나다");  // no group: first
  EXPECT_EQ(kim.Query(label), "가");

  // Another's ticks can be neither seen nor changed, even past the list.
  EXPECT_EQ(kim.Query("SELECT 선택 AS 이름 FROM addr_rec_per_user"), "True");
  kim.conn.Execute("UPDATE addr_rec_per_user SET 선택=0");
  EXPECT_EQ(lee.Query(label), "나라");

  // A record one deletes is gone for everyone, ticks and all.
  kim.Go("나");
  kim.table.Delete();
  EXPECT_EQ(lee.Query(label), "라");
  // Until lee refreshes, the row is there for lee, empty.
  EXPECT_EQ(lee.table.RecordCount(), 4);
  lee.table.Refresh();
  EXPECT_EQ(lee.table.RecordCount(), 3);
  EXPECT_EQ(Names(lee.table), "라가다");
}

// Another desk's change is never overwritten unseen: storing a record it changed or deleted
// since this desk read it fails, and the typed values stay pending. Ticking is each person's
// own business and is no change to the record.
TEST_F(ServerList, AChangeAnotherDeskStoredFirstIsNeverOverwrittenUnseen) {
  MakeTicksPerPerson();
  TDesk kim(schema->PersonLink("kim"));
  const std::string lee = schema->PersonLink("lee");

  kim.Go("가");
  kim.table.Edit();
  kim.table.FieldByName("이름").SetAsString("가김");
  testing::ChangeFromAnotherProcess(lee, {"UPDATE addr_rec SET 선택=1 WHERE 이름='가'"});
  kim.table.Post();  // lee's tick changed nothing of the record
  kim.table.Edit();
  kim.table.FieldByName("이름").SetAsString("가나");
  testing::ChangeFromAnotherProcess(lee, {"UPDATE addr_rec SET GID=9 WHERE 이름='가김'"});
  const std::string changed = ErrorOf([&] { kim.table.Post(); });
  EXPECT_NE(changed.find("changed by another user"), std::string::npos) << changed;
  EXPECT_EQ(kim.table.State(), dsEdit);
  EXPECT_EQ(kim.table.FieldByName("이름").AsString(), "가나");
  EXPECT_EQ(kim.Query("SELECT 이름 FROM addr_rec WHERE GID=9"), "가김");
  // Told, the user stores again: their field over the other desk's record, whose GID stays.
  kim.table.Post();
  EXPECT_EQ(kim.Query("SELECT 이름 FROM addr_rec WHERE GID=9"), "가나");

  // Deleted under the edit: refused, and the typed values stay.
  kim.Go("나");
  kim.table.Edit();
  kim.table.FieldByName("이름").SetAsString("나김");
  testing::ChangeFromAnotherProcess(lee, {"DELETE FROM addr_rec WHERE 이름='나'"});
  EXPECT_EQ(ErrorOf([&] { kim.table.Post(); }), kRecordGoneMessage);
  EXPECT_EQ(kim.table.State(), dsEdit);
  EXPECT_EQ(kim.table.FieldByName("이름").AsString(), "나김");
  kim.table.Cancel();

  // A delete of a record changed since it was read is refused once; the second goes ahead.
  kim.Go("다");
  testing::ChangeFromAnotherProcess(lee, {"UPDATE addr_rec SET GID=7 WHERE 이름='다'"});
  const std::string deleted = ErrorOf([&] { kim.table.Delete(); });
  EXPECT_NE(deleted.find("was not deleted"), std::string::npos) << deleted;
  EXPECT_EQ(kim.Query("SELECT 이름 FROM addr_rec WHERE GID=7"), "다");
  kim.table.Delete();
  EXPECT_EQ(kim.Query("SELECT 이름 FROM addr_rec WHERE GID=7"), "·");

  // What the other desk stored shows on refresh.
  testing::ChangeFromAnotherProcess(lee, {"INSERT INTO addr_rec (GID,이름) VALUES (0,'영')"});
  kim.table.Refresh();
  EXPECT_EQ(Names(kim.table), "영가나");
}

// A transaction on the server takes back everything since it began, tables included, and a
// statement that fails inside it fails the whole transaction.
TEST_F(ServerList, TransactionsTakeBackEverythingSinceTheyBegan) {
  TADOConnection conn;
  conn.ConnectionString = testing::ConnectionStringFor(schema->AdminLink());
  conn.Open();
  conn.BeginTrans();
  conn.Execute("CREATE TABLE GROUP_ID (GID Counter Primary Key,그룹명 TEXT(32))");
  conn.Execute("INSERT INTO addr_rec (이름) VALUES ('라')");
  conn.RollbackTrans();
  TDesk desk(schema->AdminLink());
  EXPECT_EQ(desk.Query("SELECT 이름 FROM addr_rec"), "가나다");
  EXPECT_THROW(desk.Query("SELECT * FROM GROUP_ID"), EDatabaseError);

  try {
    TScopedTransaction transaction(conn);
    conn.Execute("INSERT INTO addr_rec (이름) VALUES ('마')");
    conn.Execute("CREATE TABLE addr_rec (a LONG)");
    transaction.Commit();
    ADD_FAILURE() << "the second statement did not fail";
  } catch (const EDatabaseError&) {
  }
  EXPECT_FALSE(conn.InTransaction());
  conn.Execute("INSERT INTO addr_rec (이름) VALUES ('바')");
  EXPECT_EQ(desk.Query("SELECT 이름 FROM addr_rec"), "가나다바");
}

// Sizes of text columns, yes/no and dates are stored as in a file; a table without a key reads
// as a query does and takes no changes.
TEST_F(ServerList, ValuesAreStoredAsInAFile) {
  TDesk desk(schema->AdminLink());
  TADOTable& table = desk.table;
  table.Insert();
  table.FieldByName("이름").SetAsString(std::string(33, 'x'));
  const std::string tooLong = ErrorOf([&] { table.Post(); });
  EXPECT_NE(tooLong.find("32"), std::string::npos) << tooLong;
  EXPECT_EQ(table.State(), dsInsert);
  table.FieldByName("이름").SetAsString("라");
  table.FieldByName("선택").SetAsBoolean(true);
  table.FieldByName("SDATE").SetAsString("2024/3/5");
  table.Post();
  EXPECT_EQ(desk.Query("SELECT 선택 || '/' || SDATE || '/' || pg_typeof(선택) AS 이름 FROM "
                       "addr_rec WHERE 이름='라'"),
            "1/2024-03-05/yesno");
  desk.Go("라");
  EXPECT_EQ(table.FieldByName("선택").AsString(), "True");

  desk.conn.Execute("CREATE TABLE loose (이름 TEXT(10))");
  desk.conn.Execute("INSERT INTO loose VALUES ('갑'),('을')");
  TADOTable loose;
  loose.Connection = &desk.conn;
  loose.TableName = "LOOSE";
  loose.IndexFieldNames = "이름";
  loose.Open();
  EXPECT_EQ(loose.RecordCount(), 2);
  loose.Last();
  EXPECT_EQ(loose.FieldByName("이름").AsString(), "을");
  EXPECT_FALSE(loose.CanModify());
  EXPECT_THROW(loose.Edit(), EDatabaseError);
}

// A link file may name the server by a service of the user's service file, and the list's
// schema may have any name.
TEST_F(ServerList, ALinkNamesItsServerByAServiceAndItsSchemaByAnyName) {
  const std::string odd = "주소 \"록\" 1";
  schema->Run({"CREATE SCHEMA " + QuotedIdentifier(odd),
               "CREATE TABLE " + QuotedIdentifier(odd) +
                   ".addr_rec (ID Counter Primary Key,GID LONG,"
                   "이름 TEXT(32))",
               "INSERT INTO " + QuotedIdentifier(odd) + ".addr_rec (이름) VALUES ('갑')"});
  const std::string connInfo = testing::TestServer::Shared()->ConnInfo(testing::kTestAdministrator);
  // The service file takes the connection string's settings one a line.
  std::string service = "[office]\n";
  for (std::size_t start = 0; start < connInfo.size();) {
    std::size_t end = connInfo.find(' ', start);
    if (end == std::string::npos) end = connInfo.size();
    service += connInfo.substr(start, end - start) + "\n";
    start = end + 1;
  }
  platform::testing::ScopedEnv serviceFile("PGSERVICEFILE",
                                           scratch.Write("pg_service.conf", service));
  std::string names = "갑";
  for (const TServerLink& link : {TServerLink{"", "office", odd}, TServerLink{connInfo, "", odd}}) {
    TDesk desk(scratch.Write("odd.mdb", ServerLinkText(link)));
    EXPECT_EQ(Names(desk.table), names) << link.Service;
    desk.table.Last();
    desk.table.Insert();
    desk.table.FieldByName("이름").SetAsString(link.Service.empty() ? "을" : "병");
    desk.table.Post();
    names += link.Service.empty() ? "을" : "병";
  }
}

// A server that stops under an open list is an error the user sees; once it is back, the next
// action connects again. A transaction the connection lost refuses the rest of itself.
TEST(ServerStopped, TheNextActionAfterItIsBackConnectsAgain) {
  platform::testing::ScratchDir scratch;
  std::unique_ptr<testing::TestServer> server =
      testing::TestServer::Private(scratch.PrivateFolder("server") + "/folder");
  if (!server) GTEST_SKIP() << testing::TestServer::Missing();
  testing::ServerSchema schema(*server, scratch);
  schema.Run({kCreate, kFill});
  TDesk desk(schema.AdminLink());
  desk.Go("나");

  server->Halt();
  const std::string lost = ErrorOf([&] { desk.table.Refresh(); });
  EXPECT_NE(lost.find("database server"), std::string::npos) << lost;
  EXPECT_NE(ErrorOf([&] { desk.table.Refresh(); }), "no error") << "still down";
  EXPECT_EQ(desk.table.CellText(0, 3), "") << "painting shows nothing rather than failing";

  server->Start();
  desk.table.Refresh();
  EXPECT_EQ(Names(desk.table), "가나다");
  desk.Go("다");
  desk.table.Edit();
  desk.table.FieldByName("이름").SetAsString("다다");
  desk.table.Post();
  EXPECT_EQ(desk.Query("SELECT 이름 FROM addr_rec WHERE GID=3"), "다다");

  desk.conn.BeginTrans();
  desk.conn.Execute("INSERT INTO addr_rec (이름) VALUES ('라')");
  server->Halt();
  server->Start();
  const std::string lostAgain = ErrorOf([&] { desk.conn.Execute("DELETE FROM addr_rec"); });
  EXPECT_NE(lostAgain.find("lost"), std::string::npos) << lostAgain;
  // Not on a new connection by itself: the rest of the transaction is refused.
  const std::string refused = ErrorOf([&] { desk.conn.Execute("DELETE FROM addr_rec"); });
  EXPECT_NE(refused.find("transaction"), std::string::npos) << refused;
  EXPECT_THROW(desk.conn.CommitTrans(), EDatabaseError);
  desk.conn.RollbackTrans();
  EXPECT_EQ(desk.Query("SELECT 이름 FROM addr_rec"), "가나다다");
}

}  // namespace
}  // namespace dbengine
