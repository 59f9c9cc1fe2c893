// Every file Zeravu writes, on a disk with no room left: each write fails with its error, and
// what was there before is still there, whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "dbengine/errors.h"
#include "platform/cp949.h"
#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/profile_file.h"
#include "ui/event_guard.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace crash::testing {
namespace {

namespace fs = std::filesystem;

const char* const kHostSettings = "; host\r\n[HOST]\r\nVersion=3.1\r\n[ZERAVU]\r\nDESIGNOK=0\r\n";

// A small disk of its own (tmpfs) mounted inside the scratch folder; needs the right to mount.
class FullDisk : public ::testing::Test, public zeravu::testing::ZeravuFixture {
 protected:
  void SetUp() override {
    disk = dir.Path("disk");
    mkdir(disk.c_str(), 0777);
    if (mount("zarize-full-disk", disk.c_str(), "tmpfs", 0, "size=1m") != 0) {
      GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                   << "): the full-disk cases need root or CAP_SYS_ADMIN";
    }
    mounted = true;
    // The hand-off goes to the temporary folder, so that folder lies on the small disk.
    mkdir((disk + "/tmp").c_str(), 0777);
    fs::remove(TempDir());
    fs::create_directory_symlink(disk + "/tmp", TempDir());
  }
  void TearDown() override {
    if (mounted) umount2(disk.c_str(), MNT_DETACH);
  }

  // Writes a filler file until the disk refuses another byte.
  void Fill() {
    const int fd = open((disk + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'f');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    const int error = errno;
    close(fd);
    ASSERT_EQ(error, ENOSPC);
  }
  void Free() { fs::remove(disk + "/filler"); }

  std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::string disk;
  bool mounted = false;
};

TEST_F(FullDisk, EachWriteFailsCleanlyAndWorksAgainOnceThereIsRoom) {
  const std::string database = disk + "/list.mdb";
  MakeAddressDatabase(database, {{"홍길동", "서울"}, {"김철수", "부산"}});
  const std::string settingsPath = dir.Write("disk/zeder.INI", kHostSettings);
  platform::ProfileFile settings(settingsPath);
  zeravu::TFMain& form = Start({zeravu::testing::kToken, "1", database});
  ui::RunGuarded(screen, [&] { form.tmActTimer(); });
  ASSERT_TRUE(dm.adoTblMember.Active());
  ASSERT_NO_FATAL_FAILURE(Fill());

  // The settings file: the write is refused with its message; the file is as it was.
  try {
    settings.WriteString("ZERAVU", "DESIGNOK", "1");
    ADD_FAILURE() << "a settings write succeeded on a full disk";
  } catch (const platform::EIniFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + settingsPath);
  }
  EXPECT_EQ(dir.Read("disk/zeder.INI"), kHostSettings);

  // A new record: storing it fails with the engine's error, the stored ones stay.
  dm.adoTblMember.Insert();
  dm.adoTblMember.FieldByName("이름").SetAsString(std::string(30, 'x'));
  dm.adoTblMember.FieldByName("주소").SetAsString(std::string(250, 'y'));
  EXPECT_THROW(dm.adoTblMember.Post(), dbengine::EDatabaseError);
  dm.adoTblMember.Cancel();
  dm.adoTblMember.Refresh();
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 2);

  // The label hand-off and the spreadsheet file: neither appears, no temporary file stays.
  EXPECT_THROW(form.WriteLabelCsv(form.HandOffFileName()), platform::Exception);
  EXPECT_THROW(form.SaveSelectedCsv(disk + "/list.csv"), platform::Exception);
  EXPECT_TRUE(FilesIn(disk + "/tmp").empty());

  // A new database: refused, nothing left behind.
  {
    addressbook::Tdm maker;
    const addressbook::MdbFileRequests requests = maker.CreateMDBFile(disk + "/new.mdb");
    EXPECT_FALSE(requests.DataSourceFailure);
    EXPECT_TRUE(requests.FileFailure);
  }
  EXPECT_FALSE(platform::FileExists(disk + "/new.mdb"));
  std::vector<std::string> left = FilesIn(disk);
  std::sort(left.begin(), left.end());
  // The settings writers' lock file stays, as it does after every write.
  EXPECT_EQ(left, (std::vector<std::string>{".zeder.INI.lock", "filler", "list.mdb", "tmp",
                                            "zeder.INI"}));

  Free();
  settings.WriteString("ZERAVU", "DESIGNOK", "1");
  EXPECT_EQ(settings.ReadString("ZERAVU", "DESIGNOK", ""), "1");
  EXPECT_EQ(settings.ReadString("HOST", "Version", ""), "3.1");
  dm.adoTblMember.Insert();
  dm.adoTblMember.FieldByName("이름").SetAsString("이영희");
  dm.adoTblMember.FieldByName("주소").SetAsString("대구");
  dm.adoTblMember.Post();
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 3);
  form.WriteLabelCsv(form.HandOffFileName());
  EXPECT_TRUE(platform::FileExists(form.HandOffFileName()));
}

TEST_F(FullDisk, ADatabaseReplacedOnAFullDiskStaysAsItWas) {
  const std::string database = disk + "/list.mdb";
  MakeAddressDatabase(database, {{"홍길동", "서울"}, {"김철수", "부산"}});
  const std::vector<std::string> before = StoredNames(database);
  zeravu::TFMain& form = Start({zeravu::testing::kToken, "1", database});
  ui::RunGuarded(screen, [&] { form.tmActTimer(); });
  ASSERT_TRUE(dm.adoTblMember.Active());
  ASSERT_NO_FATAL_FAILURE(Fill());

  // "새 자료" over the open database: the new file does not fit, the flow goes on as after
  // any failed creation, and the old file is still there, whole.
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(database));
  screen.ExpectMessageBox("같은 DB가 존재합니다. 덮어 쓰겠습니까?", "주의",
                          ui::TMsgButtons::OkCancel, ui::TMsgIcon::Warning, ui::mrOk);
  screen.ExpectPlainMessage("Create MDB (Database file) failed!");
  screen.ExpectPlainMessage(database);
  screen.ExpectMessageBox("DB생성 실패!!", "실패", ui::TMsgButtons::Ok, ui::TMsgIcon::Error);
  screen.ExpectModal("자료추가", [](ui::TForm&) { return ui::mrCancel; });
  screen.ExpectError(dbengine::kClosedDataSetMessage);
  ui::RunGuarded(screen, [&] { form.spdNewDB.Click(); });
  screen.VerifyAllMet();
  EXPECT_EQ(StoredNames(database), before);

  // The same with the command.
  const std::string command = std::string(ZARIZE_BIN_DIR) + "/zarize-db create --force " +
                              database + " 2>" + dir.Path("stderr");
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(dir.Read("stderr").find(database + " is as it was"), std::string::npos)
      << dir.Read("stderr");
  EXPECT_EQ(StoredNames(database), before);

  std::vector<std::string> left = FilesIn(disk);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"filler", "list.mdb", "tmp"}));
}

}  // namespace
}  // namespace crash::testing
