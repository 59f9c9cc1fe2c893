#include "addressbook/data_module.h"

#include <gtest/gtest.h>

#include "dbengine/query.h"
#include "platform/folders.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

using ui::testing::ScriptedScreen;

class DataModule : public ::testing::Test, public ZeravuFixture {};

struct TColumn {
  const char* Name;
  dbengine::TFieldType Type;
  int Size;  // characters of a text column, 0 for the other kinds
};

void ExpectColumns(dbengine::TDataSet& table, const std::vector<TColumn>& want) {
  ASSERT_EQ(table.FieldCount(), static_cast<int>(want.size()));
  for (int i = 0; i < table.FieldCount(); ++i) {
    const dbengine::TField& field = table.Fields(i);
    EXPECT_EQ(field.FieldName(), want[i].Name) << i;
    EXPECT_EQ(field.DataType(), want[i].Type) << want[i].Name;
    EXPECT_EQ(field.Size(), want[i].Size) << want[i].Name;
  }
}

TEST_F(DataModule, NewDatabaseHasBothTablesEmptyWithTheirColumnsInOrder) {
  // Made by the data module's own statements, through CreateMDBFile and CreateTables.
  const std::string path = MakeAddressDatabase(dir.Path("new.mdb"));
  ASSERT_TRUE(dm.OpenDB(path, "new.mdb"));
  using enum dbengine::TFieldType;
  dm.adoTblMember.Open();
  ExpectColumns(dm.adoTblMember, {{"ID", ftAutoInc, 0},
                                  {"GID", ftInteger, 0},
                                  {"SDATE", ftDateTime, 0},
                                  {"선택", ftBoolean, 0},
                                  {"이름", ftWideString, 32},
                                  {"존칭", ftWideString, 20},
                                  {"우편번호", ftWideString, 7},
                                  {"주소", ftWideString, 255},
                                  {"상세주소", ftWideString, 100},
                                  {"전화", ftWideString, 20},
                                  {"팩스", ftWideString, 20},
                                  {"휴대폰", ftWideString, 20},
                                  {"회사", ftWideString, 30},
                                  {"부서", ftWideString, 30},
                                  {"직책", ftWideString, 30},
                                  {"회사전화", ftWideString, 30},
                                  {"회사팩스", ftWideString, 30},
                                  {"회사우편번호", ftWideString, 7},
                                  {"회사주소", ftWideString, 255},
                                  {"C상세주소", ftWideString, 100},
                                  {"발송명", ftWideString, 32},
                                  {"발송회사", ftWideString, 30},
                                  {"발송부서", ftWideString, 30},
                                  {"발송직책", ftWideString, 30},
                                  {"발송우편번호", ftWideString, 7},
                                  {"발송주소", ftWideString, 255},
                                  {"D상세주소", ftWideString, 100},
                                  {"발송", ftWideString, 10}});
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 0);

  dbengine::TADOTable groups;
  groups.Connection = &dm.conn;
  groups.TableName = "GROUP_ID";
  groups.Open();
  ExpectColumns(groups, {{"GID", ftAutoInc, 0}, {"그룹명", ftWideString, 32}});
  EXPECT_EQ(groups.RecordCount(), 0);

  // The counter numbers new rows itself.
  for (const char* id : {"1", "2"}) {
    dm.adoTblMember.Insert();
    dm.adoTblMember.FieldByName("이름").SetAsString("갑");
    dm.adoTblMember.Post();
    EXPECT_EQ(dm.adoTblMember.FieldByName("ID").AsString(), id);
  }
}

TEST_F(DataModule, OpenOfAMissingFileLeavesTheOpenDatabaseOpen) {
  const std::string path = MakeAddressDatabase(dir.Path("a.mdb"));
  ASSERT_TRUE(dm.OpenDB(path, "a.mdb"));
  EXPECT_FALSE(dm.OpenDB(dir.Path("missing.mdb"), "missing.mdb"));
  EXPECT_TRUE(dm.conn.Connected());
  EXPECT_EQ(dm.DBPath(), path);
  EXPECT_EQ(dm.DBName(), "a.mdb");
}

TEST_F(DataModule, OpenOfAFileThatIsNotADatabaseClosesWhatWasOpen) {
  const std::string path = MakeAddressDatabase(dir.Path("a.mdb"));
  ASSERT_TRUE(dm.OpenDB(path, "a.mdb"));
  EXPECT_FALSE(dm.OpenDB(dir.Write("junk.mdb", "not a database"), "junk.mdb"));
  EXPECT_FALSE(dm.conn.Connected());
  EXPECT_EQ(dm.DBPath(), "");
  EXPECT_EQ(dm.DBName(), "");
  EXPECT_TRUE(dm.CloseDB());
}

TEST_F(DataModule, CreateMDBFileForAnExistingPathMakesOnlyTheRegistration) {
  const std::string path = dir.Write("there.mdb", "old bytes");
  EXPECT_TRUE(dm.CreateMDBFile(path));
  EXPECT_EQ(dir.Read("there.mdb"), "old bytes");
  // The data source names the file it was given.
  EXPECT_NE(dir.Read("odbc.ini").find("ZAZAVOROR"), std::string::npos);
  EXPECT_NE(dir.Read("odbc.ini").find(path), std::string::npos);
}

TEST_F(DataModule, CreateMDBFileReportsEachFailedRequest) {
  // The registration file cannot be written (it is a folder): the first request fails, the
  // second is still made (and fails to register too), and the answer is false.
  mkdir(dir.Path("odbc.ini").c_str(), 0777);
  screen.ExpectPlainMessage("Create DSN (Datasource) failed!");
  screen.ExpectPlainMessage("Create MDB (Database file) failed!");
  EXPECT_FALSE(dm.CreateMDBFile(dir.Path("new.mdb")));
  screen.VerifyAllMet();

  // A folder that does not exist: neither request can do anything.
  ScriptedScreen other;
  Tdm dm2(other);
  other.ExpectPlainMessage("Create DSN (Datasource) failed!");
  other.ExpectPlainMessage("Create MDB (Database file) failed!");
  EXPECT_FALSE(dm2.CreateMDBFile(dir.Path("no/such/folder/new.mdb")));
}

TEST_F(DataModule, CreateTablesThatFailsRollsBackWhatItMadeAndCloses) {
  struct {
    const char* what;
    const char* holds;  // what the file holds before
    bool groupsAfter;   // whether GROUP_ID is there afterwards
  } cases[] = {
      // Statement 1 fails: nothing was made yet.
      {"both tables already", "GROUP_ID and addr_rec", true},
      // Statement 1 makes GROUP_ID, statement 2 fails: the rollback must take GROUP_ID away.
      {"the address table only", "addr_rec", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.Path(std::string(c.holds) + ".mdb");
    ASSERT_TRUE(dm.CreateMDBFile(path));
    ASSERT_TRUE(dm.OpenDB(path, "x"));
    if (std::string(c.holds).starts_with("GROUP_ID"))
      dm.conn.Execute(addressbook::kCreateGroupTable);
    dm.conn.Execute(addressbook::kCreateAddressTable);
    ASSERT_TRUE(dm.CloseDB());

    EXPECT_FALSE(dm.CreateTables(path, "x"));
    EXPECT_FALSE(dm.conn.Connected());
    EXPECT_EQ(dm.DBPath(), "");

    ASSERT_TRUE(dm.OpenDB(path, "x"));
    dbengine::TADOQuery tables;
    tables.Connection = &dm.conn;
    tables.SQL.Add("SELECT name FROM sqlite_master WHERE name='GROUP_ID'");
    tables.Open();
    EXPECT_EQ(tables.RecordCount(), c.groupsAfter ? 1 : 0);
    tables.Close();
    dm.adoTblMember.Open();  // the address table is still whole
    EXPECT_EQ(dm.adoTblMember.FieldCount(), 28);
    dm.adoTblMember.Close();
    dm.CloseDB();
  }
}

TEST_F(DataModule, CreateTablesOnAMissingFileAnswersFalse) {
  EXPECT_FALSE(dm.CreateTables(dir.Path("missing.mdb"), "missing.mdb"));
  EXPECT_FALSE(platform::FileExists(dir.Path("missing.mdb")));
}

}  // namespace
}  // namespace zeravu::testing
