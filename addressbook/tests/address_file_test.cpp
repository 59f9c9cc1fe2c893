#include "addressbook/address_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "addressbook/address_columns.h"
#include "addressbook/tests/address_db_fixture.h"
#include "dbengine/database_creation.h"
#include "platform/cp949.h"
#include "platform/folders.h"
#include "platform/testing/shared_data.h"
#include "platform/testing/unprivileged.h"

namespace addressbook::testing {
namespace {

// A genuine Jet file, as users may still have them about from the Windows programs.
const std::string kGenuineAccessFile =
    platform::testing::SharedDataPath("mdb/jackcess_test2V2000.mdb");

class AddressFile : public ::testing::Test, public AddressDbFixture {
 protected:
  std::vector<std::string> ColumnsOf(const std::string& table) {
    dbengine::TADOTable t;
    t.Connection = &dm.conn;
    t.TableName = table;
    t.Open();
    std::vector<std::string> names;
    for (int i = 0; i < t.FieldCount(); ++i) names.push_back(t.Fields(i).FieldName());
    EXPECT_EQ(t.RecordCount(), 0) << table;
    return names;
  }
  std::string Export(ExportLayout layout, bool tickedOnly) {
    std::ostringstream out;
    ExportRecords(dm, layout, tickedOnly, out);
    return out.str();
  }
};

TEST_F(AddressFile, CreateMakesBothTablesWithTheirColumnsInOrderAndRegistersTheSource) {
  const std::string path = dir.Path("new.mdb");
  CreateAddressDatabase(dm, path, false);
  EXPECT_FALSE(dm.conn.Connected());
  ASSERT_TRUE(dm.OpenDB(path, "new.mdb"));
  EXPECT_EQ(ColumnsOf("GROUP_ID"), (std::vector<std::string>{"GID", "그룹명"}));
  std::vector<std::string> columns;
  for (const ColumnInfo& column : AddressColumns()) columns.emplace_back(column.Name);
  EXPECT_EQ(ColumnsOf("addr_rec"), columns);
  const std::string registered = dir.Read("odbc.ini");
  EXPECT_NE(registered.find("[ZAZAVOROR]"), std::string::npos) << registered;
  EXPECT_NE(registered.find(path), std::string::npos) << registered;
}

TEST_F(AddressFile, CreateKeepsAnExistingFileUnlessToldToReplaceIt) {
  const std::string path = dir.Write("old.mdb", "someone's file");
  try {
    CreateAddressDatabase(dm, path, false);
    ADD_FAILURE();
  } catch (const EAddressFileError& e) {
    EXPECT_EQ(std::string(e.what()), path + " exists; add --force to replace it");
  }
  EXPECT_EQ(dir.Read("old.mdb"), "someone's file");

  CreateAddressDatabase(dm, path, true);
  OpenAddressDatabase(dm, path);
  EXPECT_EQ(CountRecords(dm).Records, 0);
}

TEST_F(AddressFile, CreateInAFolderThatIsNotThereSaysWhyAndLeavesNothing) {
  const std::string path = dir.Path("none/new.mdb");
  try {
    CreateAddressDatabase(dm, path, false);
    ADD_FAILURE();
  } catch (const EAddressFileError& e) {
    EXPECT_EQ(std::string(e.what()), path +
                                         ": the database could not be created: the file could "
                                         "not be made (Cannot create the database file '" +
                                         path + "': No such file or directory)");
  }
  EXPECT_FALSE(platform::FileExists(path));
}

TEST_F(AddressFile, WhatIsNotAnAddressDatabaseIsRefusedClearly) {
  dm.conn.AccessReader = std::string(ZARIZE_BIN_DIR) + "/zarize-mdb-read";  // the build's reader
  dbengine::CreateEmptyDatabase(dir.Path("other.mdb"));
  mkdir(dir.Path("folder.mdb").c_str(), 0777);
  struct Case {
    std::string path;
    std::string message;
  };
  std::vector<Case> cases = {
      {dir.Path("missing.mdb"), dir.Path("missing.mdb") + ": no such file"},
      {dir.Path("folder.mdb"), dir.Path("folder.mdb") + " is a folder"},
      {dir.Write("text.mdb", "이름,주소\n"),
       dir.Path("text.mdb") + " is not an address database (it cannot be opened as a database)"},
      {dir.Write("empty.mdb", ""),
       dir.Path("empty.mdb") + " is not an address database (it cannot be opened as a database)"},
      {dir.Path("other.mdb"), dir.Path("other.mdb") + " is not an address database ("},
  };
  // A genuine Access file comes from the shared test data, which a clone alone does not have.
  if (platform::testing::MissingSharedData("mdb").empty())
    cases.push_back({kGenuineAccessFile,
                     kGenuineAccessFile + " is not an address database (no such table: addr_rec"});
  for (const auto& c : cases) {
    try {
      OpenAddressDatabase(dm, c.path);
      ADD_FAILURE() << c.path;
    } catch (const EAddressFileError& e) {
      EXPECT_TRUE(std::string(e.what()).starts_with(c.message)) << e.what();
    }
    EXPECT_FALSE(dm.conn.Connected()) << c.path;
  }
}

TEST_F(AddressFile, AFileTheUserMayNotReadIsRefusedWithTheReason) {
  const std::string path = NewDatabase("private.mdb");
  dm.adoTblMember.Close();
  dm.CloseDB();
  chmod(path.c_str(), 0600);
  platform::testing::RunAsUnprivileged([&] {
    Tdm other;
    try {
      OpenAddressDatabase(other, path);
      ADD_FAILURE();
    } catch (const EAddressFileError& e) {
      EXPECT_EQ(std::string(e.what()), path + ": Permission denied");
    }
  });
}

TEST_F(AddressFile, CountTellsRecordsAndTickedOnesApart) {
  NewDatabase("list.mdb");
  AddRecord({{"이름", "가"}}, true);
  AddRecord({{"이름", "나"}}, false);
  AddRecord({{"이름", "다"}}, std::nullopt);  // a NULL tick is not ticked
  AddRecord({{"이름", "라"}}, true);
  const RecordCounts count = CountRecords(dm);
  EXPECT_EQ(count.Records, 4);
  EXPECT_EQ(count.Ticked, 2);
}

TEST_F(AddressFile, ExportWritesEveryRecordOrTheTickedOnesInEitherLayout) {
  NewDatabase("list.mdb");
  AddRecord({{"이름", "가"}, {"주소", "서울, 중구"}, {"우편번호", "100-011"}}, true);
  AddRecord({{"이름", "나"}, {"주소", "부산"}}, false);
  AddRecord({{"이름", "다"}}, std::nullopt);
  Reopen();  // the records in the order the file keeps them

  const std::string empties(20, ',');
  EXPECT_EQ(Export(ExportLayout::Spreadsheet, true),
            platform::ToCp949(std::string(kSheetHeader) + "True,가,,100-011,\"서울, 중구\"," +
                              empties + "\n"));
  EXPECT_EQ(
      Export(ExportLayout::Spreadsheet, false),
      platform::ToCp949(std::string(kSheetHeader) + "True,가,,100-011,\"서울, 중구\"," + empties +
                        "\nFalse,나,,,부산," + empties + "\n,다,,,," + empties + "\n"));
  // The label layout is never quoted: the host reads it so.
  const std::string labelHeader = "우편번호,주소,상세주소,회사,이름,존칭\n";
  EXPECT_EQ(Export(ExportLayout::Label, true),
            platform::ToCp949(labelHeader + "100-011,서울, 중구,,,가,\n"));
  EXPECT_EQ(Export(ExportLayout::Label, false),
            platform::ToCp949(labelHeader + "100-011,서울, 중구,,,가,\n,부산,,,나,\n,,,,다,\n"));
}

}  // namespace
}  // namespace addressbook::testing
