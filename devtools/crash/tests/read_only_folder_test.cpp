// Files Zeravu writes into folders the user may not write: each refusal reaches the user as an
// error, Zeravu stays usable and nothing half-made is left.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "dbengine/dataset.h"
#include "platform/folders.h"
#include "platform/profile_file.h"
#include "platform/testing/unprivileged.h"
#include "ui/event_guard.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace crash::testing {
namespace {

using platform::testing::RunAsUnprivileged;

class ReadOnlyFolder : public ::testing::Test, public zeravu::testing::ZeravuFixture {
 protected:
  ReadOnlyFolder() {
    // The program's own folders are the user's; only the folder under test is not.
    for (const std::string& folder : {ExeDir(), DocsDir(), TempDir()}) {
      chmod(folder.c_str(), 0777);
    }
    mkdir(dir.Path("ro").c_str(), 0777);
  }
  void Lock(const std::string& folder) { ASSERT_EQ(chmod(folder.c_str(), 0555), 0); }
  std::string Setting(const std::string& section, const std::string& key) {
    return platform::ProfileFile(SettingsPath()).ReadString(section, key, "<none>");
  }
  // An address database the unprivileged user may change.
  std::string UsersDatabase(const std::string& path) {
    MakeAddressDatabase(path, {{"홍길동", "서울"}});
    chmod(path.c_str(), 0666);
    return path;
  }
};

TEST_F(ReadOnlyFolder, TheHandOffCannotBeWrittenSoZeravuStaysOpenWithoutTheKey) {
  const std::string database = UsersDatabase(dir.Path("list.mdb"));
  Lock(TempDir());
  RunAsUnprivileged([&] {
    zeravu::TFMain& form = Start({zeravu::testing::kToken, "1", database});
    ui::RunGuarded(screen, [&] { form.tmActTimer(); });
    int closes = 0;
    form.CloseRequested.Connect([&] { ++closes; });
    screen.ExpectError("File access denied");
    ui::RunGuarded(screen, [&] { form.spbDesignClick(); });
    screen.VerifyAllMet();
    EXPECT_EQ(closes, 0);
    EXPECT_FALSE(platform::FileExists(TempDir() + "/hhh.csv"));
  });
  EXPECT_EQ(Setting("ZERAVU", "DESIGNOK"), "<none>");
}

TEST_F(ReadOnlyFolder, TheSpreadsheetCannotBeWrittenAndItsFolderIsNotRemembered) {
  const std::string database = UsersDatabase(dir.Path("list.mdb"));
  Lock(dir.Path("ro"));
  RunAsUnprivileged([&] {
    zeravu::TFMain& form = Start({zeravu::testing::kToken, "1", database});
    ui::RunGuarded(screen, [&] { form.tmActTimer(); });
    screen.ExpectFileDialog("", std::optional<std::string>(dir.Path("ro/list.csv")));
    screen.ExpectError("File access denied");
    ui::RunGuarded(screen, [&] { form.spbExcelSaveAs.Click(); });
    screen.VerifyAllMet();
    EXPECT_FALSE(platform::FileExists(dir.Path("ro/list.csv")));
  });
  EXPECT_EQ(Setting("EXCEL", "PATH"), "<none>");
}

TEST_F(ReadOnlyFolder, ANewDatabaseCannotBeMadeThereAndTheFailureIsShown) {
  Lock(dir.Path("ro"));
  const std::string path = dir.Path("ro/new.mdb");
  RunAsUnprivileged([&] {
    zeravu::TFMain& form = Start({zeravu::testing::kToken});
    screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(path));
    screen.ExpectPlainMessage("Create MDB (Database file) failed!");
    screen.ExpectPlainMessage(path);
    screen.ExpectMessageBox("DB생성 실패!!", "실패", ui::TMsgButtons::Ok, ui::TMsgIcon::Error);
    screen.ExpectModal("자료추가", [](ui::TForm&) { return ui::mrCancel; });
    screen.ExpectErrorContaining("closed dataset");
    ui::RunGuarded(screen, [&] { form.spdNewDB.Click(); });
    screen.VerifyAllMet();
    EXPECT_FALSE(platform::FileExists(path));
  });
}

// The file may be written but its folder not, so the engine would have nowhere for its journal:
// the database opens read-only and refuses a change before anything is typed.
TEST_F(ReadOnlyFolder, ADatabaseWhoseFolderIsReadOnlyOpensReadOnlyAndRefusesANewRecord) {
  const std::string database = UsersDatabase(dir.Path("ro/list.mdb"));
  Lock(dir.Path("ro"));
  RunAsUnprivileged([&] {
    zeravu::TFMain& form = Start({zeravu::testing::kToken, "1", database});
    ui::RunGuarded(screen, [&] { form.tmActTimer(); });
    ASSERT_TRUE(dm.adoTblMember.Active());
    EXPECT_EQ(dm.adoTblMember.RecordCount(), 1);
    EXPECT_TRUE(dm.conn.ReadOnly());
    screen.ExpectError("Cannot modify a read-only dataset");
    ui::RunGuarded(screen, [&] { dm.adoTblMember.Insert(); });
    screen.VerifyAllMet();
    EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsBrowse);
  });
  addressbook::Tdm reader;
  ASSERT_TRUE(reader.OpenDB(database, "list.mdb"));
  reader.adoTblMember.Open();
  EXPECT_EQ(reader.adoTblMember.RecordCount(), 1);
}

}  // namespace
}  // namespace crash::testing
