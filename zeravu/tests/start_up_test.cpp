#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/folders.h"
#include "platform/testing/unprivileged.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

using ui::TMsgButtons;
using ui::TMsgIcon;

class StartUp : public ::testing::Test, public ZeravuFixture {};

TEST_F(StartUp, WithoutTheTokenTheProgramEndsWith100AndTouchesNothing) {
  const std::vector<std::vector<std::string>> refused = {
      {}, {""}, {"갑"}, {"(갑) "}, {"(을)", "1", "/x.mdb"}};
  for (const auto& args : refused) {
    TInstance z(*this, args);
    auto& s = z.screen;
    TFMain& form = z.form;
    s.ExpectMessageBox("단독으로 실행할 수 없습니다.", "알림", TMsgButtons::Ok,
                       TMsgIcon::Information);
    form.FormCreate();
    EXPECT_EQ(s.TerminatedWith(), 100);
    EXPECT_EQ(s.Shown().at(0).Owner, &form);
    EXPECT_FALSE(form.tmAct.Enabled());
    EXPECT_FALSE(s.TaskbarButtonRemoved());
    EXPECT_FALSE(platform::DirectoryExists(DocsDir() + "/ZARIZE"));
  }
}

TEST_F(StartUp, TheTokenMakesTheDataFoldersAndArmsTheTimer) {
  TFMain& form = Start({kToken, "2"});
  EXPECT_FALSE(screen.TerminatedWith().has_value());
  EXPECT_TRUE(screen.TaskbarButtonRemoved());
  for (const char* sub : {"/ZARIZE", "/ZARIZE/DB", "/ZARIZE/DB/Excel", "/ZARIZE/DB/Address"}) {
    EXPECT_TRUE(platform::DirectoryExists(DocsDir() + sub)) << sub;
  }
  EXPECT_EQ(form.FDBDir(), DocsDir() + "/ZARIZE/DB");
  EXPECT_EQ(form.FExcelDir(), DocsDir() + "/ZARIZE/DB/Excel");
  EXPECT_EQ(form.FAddrDir(), AddressDir());
  EXPECT_EQ(form.FDBFileName(), "");
  EXPECT_EQ(form.FIni()->FileName(), SettingsPath());
  EXPECT_TRUE(form.tmAct.Enabled());
  EXPECT_EQ(form.tmAct.Interval(), 10);
  EXPECT_EQ(form.StatusBar1.PanelText(0), "데이터 베이스");
  EXPECT_EQ(form.StatusBar1.PanelText(1), "...");
  // Nothing is written on start.
  EXPECT_FALSE(platform::FileExists(SettingsPath()));
}

TEST_F(StartUp, TheTokenAsRawCodePage949BytesIsAccepted) {
  Start({"\x28\xB0\xA9\x29", "2"});
  EXPECT_FALSE(screen.TerminatedWith().has_value());
}

TEST_F(StartUp, ExistingFoldersAreKeptAndNothingIsReported) {
  Start({kToken});
  const std::string marker = dir.Write("docs/ZARIZE/DB/Address/keep.mdb", "x");
  TInstance second(*this, {kToken});
  second.form.FormCreate();
  EXPECT_TRUE(platform::FileExists(marker));
  EXPECT_TRUE(second.form.tmAct.Enabled());
}

TEST_F(StartUp, AFolderThatCannotBeMadeShowsTheErrorAndSkipsTheRest) {
  chmod(DocsDir().c_str(), 0555);
  platform::testing::RunAsUnprivileged([&] {
    TInstance z(*this, {kToken, "0"});
    z.screen.ExpectError("File access denied");
    z.form.FormCreate();
    EXPECT_FALSE(z.screen.TerminatedWith().has_value());
    EXPECT_FALSE(z.form.tmAct.Enabled());
  });
}

TEST_F(StartUp, MinimisingComesStraightBackWithTheReminder) {
  TFMain& form = Start({kToken});
  screen.ExpectMessageBox("작업을 끝내려면 '라벨디자인'\r\n버튼을 클릭 해주세요.", "",
                          TMsgButtons::Ok, TMsgIcon::Information);
  screen.Minimize();
  EXPECT_EQ(screen.RestoreCount(), 1);
  EXPECT_EQ(screen.Shown().back().Owner, &form);
}

TEST_F(StartUp, ClosingWritesNothing) {
  TFMain& form = Start({kToken});
  ASSERT_TRUE(form.CloseQuery());
  form.DoClose();
  EXPECT_EQ(form.FIni(), nullptr);
  EXPECT_FALSE(platform::FileExists(SettingsPath()));
}

}  // namespace
}  // namespace zeravu::testing
