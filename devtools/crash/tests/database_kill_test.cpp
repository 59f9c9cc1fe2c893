// The address database under writers that die at any moment, a new database whose making is
// cut short, and two Zeravu processes on one file.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "addressbook/data_module.h"
#include "devtools/crash/crash_values.h"
#include "devtools/crash/tests/kill_loop.h"
#include "platform/folders.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "ui/testing/scripted_screen.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace crash::testing {
namespace {

using namespace std::chrono_literals;

bool ExitedWell(int status) {
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Every name in the database's record table, read the way Zeravu reads it; fails the test when
// the file does not open.
std::multiset<std::string> StoredNames(const std::string& database) {
  addressbook::Tdm dm;
  std::multiset<std::string> names;
  EXPECT_TRUE(dm.OpenDB(database, "list.mdb")) << "the database no longer opens";
  if (!dm.conn.Connected()) return names;
  dm.adoTblMember.SetActive(true);
  for (dm.adoTblMember.First(); !dm.adoTblMember.Eof(); dm.adoTblMember.Next()) {
    names.insert(dm.adoTblMember.FieldByName("이름").AsString());
    EXPECT_EQ(dm.adoTblMember.FieldByName("주소").AsString().substr(0, 3), "값");
  }
  return names;
}

class DatabaseKill : public ::testing::Test {
 protected:
  void SetUp() override {
    TChild create({"create", database});
    ASSERT_TRUE(ExitedWell(create.Wait()));
  }

  platform::testing::ScratchDir dir;
  platform::testing::ScopedEnv odbcIni{"ODBCINI", dir.Path("odbc.ini")};
  const std::string database = dir.Path("list.mdb");
};

TEST_F(DatabaseKill, EveryRecordWhosePostReturnedSurvivesAKill) {
  TKillLoop loop("post", 10, 200);
  std::size_t stored = 0;
  for (int round = 0; round < loop.Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(loop.Seed()));
    const std::string prefix = ItemName("r", round) + "n";
    TChild writer({"post", database, prefix, "0", "100000"});
    ASSERT_TRUE(writer.WaitForFirstReport());
    loop.KillWithin(writer, 60ms);
    const std::vector<int> reported = writer.Reported();
    stored += reported.size();

    const std::multiset<std::string> names = StoredNames(database);
    for (int n : reported) EXPECT_EQ(names.count(ItemName(prefix, n)), 1u) << ItemName(prefix, n);
    // The record being stored when the writer died is there once or not at all.
    const int next = reported.empty() ? 0 : reported.back() + 1;
    EXPECT_LE(names.count(ItemName(prefix, next)), 1u);
    if (HasFailure()) break;
  }
  std::cout << "post: " << stored << " records stored before the kills\n";
}

TEST_F(DatabaseKill, TwoZeravuProcessesShareOneDatabaseAndNoWriteIsLost) {
  constexpr int kRecords = 150;
  TChild first({"post", database, "first", "0", std::to_string(kRecords)});
  TChild second({"post", database, "second", "0", std::to_string(kRecords)});
  EXPECT_TRUE(ExitedWell(first.Wait())) << "the first process failed to read or write";
  EXPECT_TRUE(ExitedWell(second.Wait())) << "the second process failed to read or write";

  const std::multiset<std::string> names = StoredNames(database);
  EXPECT_EQ(names.size(), 2u * kRecords);
  for (const char* prefix : {"first", "second"}) {
    for (int n = 0; n < kRecords; ++n) EXPECT_EQ(names.count(ItemName(prefix, n)), 1u);
  }
}

// The new-database flow in Zeravu's main window, run on a path where an earlier flow died.
class ReplaceAfterKill : public ::testing::Test, public zeravu::testing::ZeravuFixture {};

TEST_F(ReplaceAfterKill, ADatabaseCutShortWhileBeingMadeIsAbsentOrReplaceable) {
  TKillLoop loop("create", 10, 200);
  zeravu::TFMain& form = Start({zeravu::testing::kToken});
  // Kills spread over the time a whole run takes here, start-up included.
  const auto started = std::chrono::steady_clock::now();
  TChild whole({"create", dir.Path("whole.mdb")});
  ASSERT_TRUE(ExitedWell(whole.Wait()));
  const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - started);
  int leftBehind = 0;
  for (int round = 0; round < loop.Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(loop.Seed()));
    const std::string path = dir.Path("new" + std::to_string(round) + ".mdb");
    TChild creator({"create", path});
    loop.KillWithin(creator, runTime);
    if (!platform::FileExists(path)) continue;
    ++leftBehind;

    screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(path));
    screen.ExpectMessageBox("같은 DB가 존재합니다. 덮어 쓰겠습니까?", "주의",
                            ui::TMsgButtons::OkCancel, ui::TMsgIcon::Warning, ui::mrOk);
    screen.ExpectMessageBox("등록되었습니다!!", "성공", ui::TMsgButtons::Ok,
                            ui::TMsgIcon::Information);
    screen.ExpectModal("자료추가", [](ui::TForm&) { return ui::mrCancel; });
    form.spdNewDBClick();
    screen.VerifyAllMet();
    ASSERT_TRUE(dm.adoTblMember.Active());
    EXPECT_EQ(dm.adoTblMember.RecordCount(), 0);
    dm.adoTblMember.Insert();
    dm.adoTblMember.FieldByName("이름").SetAsString("새 기록");
    dm.adoTblMember.Post();
    EXPECT_EQ(dm.adoTblMember.RecordCount(), 1);
    if (HasFailure()) break;
  }
  std::cout << "create: " << leftBehind << " kills left a file to replace\n";
}

}  // namespace
}  // namespace crash::testing
