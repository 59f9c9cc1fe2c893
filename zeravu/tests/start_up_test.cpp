#include <gtest/gtest.h>
#include <sys/stat.h>

#include "addressbook/address_file.h"
#include "platform/folders.h"
#include "platform/testing/unprivileged.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

using ui::TMsgButtons;
using ui::TMsgIcon;

class StartUp : public ::testing::Test, public ZeravuFixture {};

// The main window's designed configuration, read off the window itself.
TEST_F(StartUp, TheMainWindowIsMadeAsDesigned) {
  TInstance z(*this, {kToken});
  const TFMain& form = z.form;
  const ui::TColor lightBlue{204, 221, 255};
  EXPECT_EQ(form.Caption(), "자료관리");
  EXPECT_EQ(form.FormStyle, ui::TFormStyle::StayOnTop);
  EXPECT_EQ(form.Position, ui::TPosition::Designed);
  EXPECT_EQ((std::vector<int>{form.Left, form.Top, form.ClientWidth, form.ClientHeight}),
            (std::vector<int>{274, 101, 762, 586}));
  EXPECT_EQ(form.Color, lightBlue);

  EXPECT_EQ(form.wwDBGMember.Columns(), (std::vector<ui::TwwColumn>{{"선택", 5, "선택"},
                                                                    {"우편번호", 7, "우편번호"},
                                                                    {"주소", 40, "주소"},
                                                                    {"상세주소", 20, "상세주소"},
                                                                    {"회사", 20, "회사"},
                                                                    {"이름", 10, "이름"},
                                                                    {"존칭", 20, "존칭"}}));
  const ui::TwwDBGridOptions& options = form.wwDBGMember.Options();
  EXPECT_TRUE(options.Editing && options.Titles && options.Indicator && options.ColumnResize &&
              options.ColLines && options.RowLines && options.Tabs && options.WordWrap &&
              options.HorzScrollBar);
  EXPECT_FALSE(options.RowSelect);
  EXPECT_EQ(form.wwDBGMember.TitleColor(), lightBlue);
  EXPECT_EQ(form.wwDBGMember.IButton.Hint(), "원상태로 복구");
  EXPECT_TRUE(form.wwDBGMember.IButton.Visible());
  EXPECT_EQ(form.wwDBNav.Color(), lightBlue);

  EXPECT_EQ(form.Label1.Caption(), "필드고정: ");
  EXPECT_EQ((std::vector<int>{form.RxSE.MinValue(), form.RxSE.MaxValue(), form.RxSE.Increment(),
                              form.RxSE.Value()}),
            (std::vector<int>{1, 10, 1, 1}));
  ASSERT_EQ(form.StatusBar1.Panels().size(), 2u);
  EXPECT_EQ(form.StatusBar1.Panels()[0].Width, 100);
  EXPECT_EQ(form.StatusBar1.Panels()[1].Width, 200);

  const std::pair<const ui::TButton*, const char*> buttons[] = {
      {&form.spdNewDB, "새 자료"},           {&form.spbMemberAdd, "자료추가"},
      {&form.spbExcelSaveAs, "엑셀로 저장"}, {&form.spbDBOpen, "자료열기"},
      {&form.spbMemberEdit, "자료편집"},     {&form.spbMDBSave, "저장"},
      {&form.spbDesign, "라벨 디자인"}};
  for (const auto& [button, caption] : buttons) EXPECT_EQ(button->Caption(), caption);
}

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

// The command-line program makes its databases through the address book as the new-database flow
// does; the host then starts Zeravu on one in mode 1, and it opens without a word.
TEST_F(StartUp, ADatabaseMadeFromTheCommandLineOpensInModeOne) {
  const std::string path = dir.Path("made.mdb");
  Tdm maker;
  addressbook::CreateAddressDatabase(maker, path, false);

  TFMain& form = Start({kToken, "1", path});
  form.tmActTimer();
  EXPECT_TRUE(screen.Shown().empty());
  EXPECT_TRUE(dm.adoTblMember.Active());
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 0);
  EXPECT_EQ(form.StatusBar1.PanelText(1), "made.mdb");
  EXPECT_EQ(dm.DBPath(), path);
}

}  // namespace
}  // namespace zeravu::testing
