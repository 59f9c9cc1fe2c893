#include "zeravu/data_module.h"

#include <gtest/gtest.h>

#include "platform/folders.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

using ui::testing::ScriptedScreen;

class DataModule : public ::testing::Test, public ZeravuFixture {};

TEST_F(DataModule, NewDatabaseHasBothTablesEmptyWithTheirColumnsInOrder) {
  const std::string path = MakeAddressDatabase(dir.Path("new.mdb"));
  ASSERT_TRUE(dm.OpenDB(path, "new.mdb"));
  const std::vector<std::pair<std::string, dbengine::TFieldType>> want = {
      {"ID", dbengine::ftAutoInc},
      {"GID", dbengine::ftInteger},
      {"SDATE", dbengine::ftDateTime},
      {"선택", dbengine::ftBoolean},
      {"이름", dbengine::ftWideString},
      {"존칭", dbengine::ftWideString},
      {"우편번호", dbengine::ftWideString},
      {"주소", dbengine::ftWideString},
      {"상세주소", dbengine::ftWideString},
      {"전화", dbengine::ftWideString},
      {"팩스", dbengine::ftWideString},
      {"휴대폰", dbengine::ftWideString},
      {"회사", dbengine::ftWideString},
      {"부서", dbengine::ftWideString},
      {"직책", dbengine::ftWideString},
      {"회사전화", dbengine::ftWideString},
      {"회사팩스", dbengine::ftWideString},
      {"회사우편번호", dbengine::ftWideString},
      {"회사주소", dbengine::ftWideString},
      {"C상세주소", dbengine::ftWideString},
      {"발송명", dbengine::ftWideString},
      {"발송회사", dbengine::ftWideString},
      {"발송부서", dbengine::ftWideString},
      {"발송직책", dbengine::ftWideString},
      {"발송우편번호", dbengine::ftWideString},
      {"발송주소", dbengine::ftWideString},
      {"D상세주소", dbengine::ftWideString},
      {"발송", dbengine::ftWideString},
  };
  dm.adoTblMember.Open();
  ASSERT_EQ(dm.adoTblMember.FieldCount(), static_cast<int>(want.size()));
  for (int i = 0; i < dm.adoTblMember.FieldCount(); ++i) {
    EXPECT_EQ(dm.adoTblMember.Fields(i).FieldName(), want[i].first);
    EXPECT_EQ(dm.adoTblMember.Fields(i).DataType(), want[i].second) << want[i].first;
  }
  EXPECT_EQ(dm.adoTblMember.FieldByName("주소").Size(), 255);
  EXPECT_EQ(dm.adoTblMember.FieldByName("우편번호").Size(), 7);
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 0);

  dbengine::TADOTable groups;
  groups.Connection = &dm.conn;
  groups.TableName = "GROUP_ID";
  groups.Open();
  ASSERT_EQ(groups.FieldCount(), 2);
  EXPECT_EQ(groups.Fields(0).FieldName(), "GID");
  EXPECT_EQ(groups.Fields(0).DataType(), dbengine::ftAutoInc);
  EXPECT_EQ(groups.Fields(1).FieldName(), "그룹명");
  EXPECT_EQ(groups.Fields(1).Size(), 32);
  EXPECT_EQ(groups.RecordCount(), 0);
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

TEST_F(DataModule, CreateTablesOnAFileThatAlreadyHoldsThemRollsBackAndCloses) {
  const std::string path = MakeAddressDatabase(dir.Path("twice.mdb"));
  EXPECT_FALSE(dm.CreateTables(path, "twice.mdb"));
  EXPECT_FALSE(dm.conn.Connected());
  EXPECT_EQ(dm.DBPath(), "");
  // Still a good database afterwards.
  ASSERT_TRUE(dm.OpenDB(path, "twice.mdb"));
  dm.adoTblMember.Open();
  EXPECT_EQ(dm.adoTblMember.FieldCount(), 28);
}

TEST_F(DataModule, CreateTablesOnAMissingFileAnswersFalse) {
  EXPECT_FALSE(dm.CreateTables(dir.Path("missing.mdb"), "missing.mdb"));
  EXPECT_FALSE(platform::FileExists(dir.Path("missing.mdb")));
}

}  // namespace
}  // namespace zeravu::testing
