#include "addressbook/data_module.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "addressbook/address_columns.h"
#include "dbengine/query.h"
#include "platform/folders.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"

namespace addressbook::testing {
namespace {

// A scratch folder with a data-source file of its own, since creating registers one.
class DataModule : public ::testing::Test {
 protected:
  // An empty address database made by the data module's own statements.
  std::string MakeAddressDatabase(const std::string& name) {
    const std::string path = dir.Path(name);
    Tdm maker;
    EXPECT_TRUE(maker.CreateMDBFile(path));
    EXPECT_TRUE(maker.CreateTables(path, name));
    return path;
  }

  platform::testing::ScratchDir dir;
  platform::testing::ScopedEnv odbcIni{"ODBCINI", dir.Path("odbc.ini")};
  Tdm dm;
};

dbengine::TFieldType FieldTypeOf(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::AutoNumber:
      return dbengine::ftAutoInc;
    case ColumnKind::Integer:
      return dbengine::ftInteger;
    case ColumnKind::DateTime:
      return dbengine::ftDateTime;
    case ColumnKind::YesNo:
      return dbengine::ftBoolean;
    case ColumnKind::Text:
      return dbengine::ftWideString;
  }
  return dbengine::ftUnknown;
}

// The statements that make a database and the column list the rest of the library goes by are
// written apart; this is where they must agree, column by column.
TEST_F(DataModule, NewDatabaseHasBothTablesEmptyWithTheColumnsTheLibraryKnows) {
  ASSERT_TRUE(dm.OpenDB(MakeAddressDatabase("new.mdb"), "new.mdb"));
  dm.adoTblMember.Open();
  const auto columns = AddressColumns();
  ASSERT_EQ(dm.adoTblMember.FieldCount(), static_cast<int>(columns.size()));
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const dbengine::TField& field = dm.adoTblMember.Fields(static_cast<int>(i));
    EXPECT_EQ(field.FieldName(), columns[i].Name) << i;
    EXPECT_EQ(field.DataType(), FieldTypeOf(columns[i].Kind)) << columns[i].Name;
    EXPECT_EQ(field.Size(), columns[i].Size) << columns[i].Name;
  }
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

  // The counter numbers new rows itself.
  for (const char* id : {"1", "2"}) {
    dm.adoTblMember.Insert();
    dm.adoTblMember.FieldByName("이름").SetAsString("갑");
    dm.adoTblMember.Post();
    EXPECT_EQ(dm.adoTblMember.FieldByName("ID").AsString(), id);
  }
}

TEST_F(DataModule, OpenOfAMissingFileLeavesTheOpenDatabaseOpen) {
  const std::string path = MakeAddressDatabase("a.mdb");
  ASSERT_TRUE(dm.OpenDB(path, "a.mdb"));
  EXPECT_FALSE(dm.OpenDB(dir.Path("missing.mdb"), "missing.mdb"));
  EXPECT_TRUE(dm.conn.Connected());
  EXPECT_EQ(dm.DBPath(), path);
  EXPECT_EQ(dm.DBName(), "a.mdb");
}

TEST_F(DataModule, OpenOfAFileThatIsNotADatabaseClosesWhatWasOpen) {
  const std::string path = MakeAddressDatabase("a.mdb");
  ASSERT_TRUE(dm.OpenDB(path, "a.mdb"));
  EXPECT_FALSE(dm.OpenDB(dir.Write("junk.mdb", "not a database"), "junk.mdb"));
  EXPECT_FALSE(dm.conn.Connected());
  EXPECT_EQ(dm.DBPath(), "");
  EXPECT_EQ(dm.DBName(), "");
  EXPECT_TRUE(dm.CloseDB());
}

TEST_F(DataModule, CreateMDBFileForAnExistingPathMakesOnlyTheRegistration) {
  const std::string path = dir.Write("there.mdb", "old bytes");
  const MdbFileRequests requests = dm.CreateMDBFile(path);
  EXPECT_TRUE(requests);
  EXPECT_FALSE(requests.DataSourceFailure);
  EXPECT_FALSE(requests.FileFailure);
  EXPECT_EQ(dir.Read("there.mdb"), "old bytes");
  // The data source names the file it was given.
  EXPECT_NE(dir.Read("odbc.ini").find("ZAZAVOROR"), std::string::npos);
  EXPECT_NE(dir.Read("odbc.ini").find(path), std::string::npos);
}

TEST_F(DataModule, CreateMDBFileAnswersEachFailedRequestWithItsReason) {
  // The registration file cannot be written (a folder stands there): the first request fails,
  // the second is still made, creates the file and fails to register too.
  mkdir(dir.Path("odbc.ini").c_str(), 0777);
  const MdbFileRequests unregistered = dm.CreateMDBFile(dir.Path("new.mdb"));
  EXPECT_FALSE(unregistered);
  ASSERT_TRUE(unregistered.DataSourceFailure);
  EXPECT_NE(unregistered.DataSourceFailure->find(dir.Path("odbc.ini")), std::string::npos)
      << *unregistered.DataSourceFailure;
  ASSERT_TRUE(unregistered.FileFailure);
  EXPECT_NE(unregistered.FileFailure->find(dir.Path("odbc.ini")), std::string::npos)
      << *unregistered.FileFailure;

  // A folder that does not exist as well: the file cannot be made, and the reason says so.
  const std::string nowhere = dir.Path("no/such/folder/new.mdb");
  const MdbFileRequests neither = dm.CreateMDBFile(nowhere);
  EXPECT_TRUE(neither.DataSourceFailure);
  EXPECT_EQ(neither.FileFailure,
            "Cannot create the database file '" + nowhere + "': No such file or directory");
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
    if (std::string(c.holds).starts_with("GROUP_ID")) dm.conn.Execute(kCreateGroupTable);
    dm.conn.Execute(kCreateAddressTable);
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
    EXPECT_EQ(dm.adoTblMember.FieldCount(), static_cast<int>(AddressColumns().size()));
    dm.adoTblMember.Close();
    dm.CloseDB();
  }
}

TEST_F(DataModule, CreateTablesOnAMissingFileAnswersFalse) {
  EXPECT_FALSE(dm.CreateTables(dir.Path("missing.mdb"), "missing.mdb"));
  EXPECT_FALSE(platform::FileExists(dir.Path("missing.mdb")));
}

}  // namespace
}  // namespace addressbook::testing
