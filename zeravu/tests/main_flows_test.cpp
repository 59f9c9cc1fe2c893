#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/folders.h"
#include "platform/profile_file.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

namespace fs = std::filesystem;
using ui::TMsgButtons;
using ui::TMsgIcon;

const char* const kClosed = "Cannot perform this operation on a closed dataset";
const char* const kDbError = "데이터베이스에 오류가 있습니다.";

class MainFlows : public ::testing::Test, public ZeravuFixture {
 protected:
  std::string Setting(const std::string& key) {
    return platform::ProfileFile(SettingsPath()).ReadString("ZERAVU", key, "<none>");
  }
  // The start-up timer's tick, run the way the view runs every event.
  void Tick() {
    ui::RunGuarded(screen, [this] { main->tmActTimer(); });
  }
  void Click(ui::TButton& button) {
    ui::RunGuarded(screen, [&] { button.Click(); });
  }
  // A creation the driver refused, and the rest of the new-database flow after it: the settings
  // are written, the add dialog opens, and the refresh then fails on the closed table.
  void ExpectRefusedCreation(const std::string& path) {
    screen.ExpectPlainMessage("Create MDB (Database file) failed!");
    screen.ExpectPlainMessage(path);
    screen.ExpectMessageBox("DB생성 실패!!", "실패", TMsgButtons::Ok, TMsgIcon::Error);
    screen.ExpectModal("자료추가", [](ui::TForm&) { return ui::mrCancel; });
    screen.ExpectError(kClosed);
  }
};

TEST_F(MainFlows, ModeOneOpensTheNamedDatabaseWithoutAnyDialog) {
  const std::string path = MakeAddressDatabase(dir.Path("list.mdb"), {{"홍길동", "서울"}});
  TFMain& form = Start({kToken, "1", path});
  Tick();
  EXPECT_FALSE(form.tmAct.Enabled());
  EXPECT_TRUE(dm.adoTblMember.Active());
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 1);
  EXPECT_EQ(form.StatusBar1.PanelText(1), "list.mdb");
  EXPECT_EQ(form.FAddrDir(), dir.Root());
  EXPECT_EQ(form.FDBFileName(), "list.mdb");
}

TEST_F(MainFlows, ModeOneWithAMissingFileOpensNothingButKeepsItsFolder) {
  TFMain& form = Start({kToken, "1", dir.Path("elsewhere/missing.mdb")});
  Tick();
  EXPECT_FALSE(dm.conn.Connected());
  EXPECT_EQ(form.StatusBar1.PanelText(1), "...");
  // A later new-database dialog starts in that folder.
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>());
  screen.ExpectError(kClosed);
  Click(form.spdNewDB);
  EXPECT_EQ(screen.Shown().at(0).Dialog->InitialDir, dir.Path("elsewhere"));
}

TEST_F(MainFlows, ModeOneOnAFileThatIsNotADatabaseSaysSo) {
  TFMain& form = Start({kToken, "1", dir.Write("junk.mdb", "plain text")});
  screen.ExpectPlainMessage(kDbError);
  Tick();
  EXPECT_FALSE(dm.adoTblMember.Active());
  EXPECT_EQ(form.StatusBar1.PanelText(1), "...");
}

TEST_F(MainFlows, OtherModesDoNothingAndBadModesShowTheConversionError) {
  struct {
    std::vector<std::string> args;
    const char* error;  // null: nothing shown
  } cases[] = {
      {{kToken, "2"}, nullptr},
      {{kToken, "-1"}, nullptr},
      {{kToken, "x"}, "'x' is not a valid integer value"},
      {{kToken}, "'' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    TInstance z(*this, c.args);
    auto& s = z.screen;
    auto& d = z.dm;
    TFMain& form = z.form;
    form.FormCreate();
    if (c.error) s.ExpectError(c.error);
    ui::RunGuarded(s, [&] { form.tmActTimer(); });
    EXPECT_FALSE(form.tmAct.Enabled());
    EXPECT_FALSE(d.conn.Connected());
  }
}

TEST_F(MainFlows, ModeZeroCreatesANewDatabaseAndWritesTheSettings) {
  TFMain& form = Start({kToken, "0", "/ignored.mdb"});
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(AddressDir() + "/new"));
  screen.ExpectMessageBox("등록되었습니다!!", "성공", TMsgButtons::Ok, TMsgIcon::Information);
  // The add dialog opens at once; what is confirmed there is stored by the flow's last refresh.
  screen.ExpectModal("자료추가", [this](ui::TForm&) {
    FAddrInfoIn.edtName.SetText("홍길동");
    FAddrInfoIn.edtAddr.SetText("서울 종로구");
    return ui::mrOk;
  });
  Tick();
  const auto& dialog = *screen.Shown().at(0).Dialog;
  EXPECT_EQ(dialog.InitialDir, AddressDir());
  EXPECT_EQ(dialog.DefaultExt, "mdb");
  EXPECT_EQ(dialog.FilterName, "Microsoft Access Files(*.mdb)");
  EXPECT_TRUE(platform::FileExists(AddressDir() + "/new.mdb"));
  EXPECT_TRUE(dm.adoTblMember.Active());
  EXPECT_EQ(form.StatusBar1.PanelText(1), "new.mdb");
  EXPECT_EQ(Setting("DBOPENDIR"), AddressDir());
  EXPECT_EQ(Setting("DBOPENNAME"), "new.mdb");
  EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsBrowse);
  dm.adoTblMember.Close();
  dm.adoTblMember.Open();
  ASSERT_EQ(dm.adoTblMember.RecordCount(), 1);
  EXPECT_EQ(dm.adoTblMember.FieldByName("이름").AsString(), "홍길동");
  EXPECT_EQ(screen.BusyDepth(), 0);
  EXPECT_EQ(screen.BusyCount(), 1);
}

TEST_F(MainFlows, NewDatabaseCancelledRefreshesTheOpenTableOrReportsTheClosedOne) {
  TFMain& form = Start({kToken});
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>());
  screen.ExpectError(kClosed);
  Click(form.spdNewDB);
  screen.VerifyAllMet();

  // With a database open, a pending edit is stored by the refresh.
  const std::string path = MakeAddressDatabase(dir.Path("a.mdb"), {{"김", "부산"}});
  ASSERT_TRUE(dm.OpenDB(path, "a.mdb"));
  dm.adoTblMember.Open();
  dm.adoTblMember.Edit();
  dm.adoTblMember.FieldByName("이름").SetAsString("이");
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>());
  Click(form.spdNewDB);
  EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsBrowse);
  dm.adoTblMember.Close();
  dm.adoTblMember.Open();
  EXPECT_EQ(dm.adoTblMember.FieldByName("이름").AsString(), "이");
}

TEST_F(MainFlows, OverwriteDeclinedChangesNothing) {
  const std::string path = MakeAddressDatabase(dir.Path("a.mdb"), {{"김", "부산"}});
  TFMain& form = Start({kToken, "1", path});
  Tick();
  dm.adoTblMember.Edit();
  dm.adoTblMember.FieldByName("이름").SetAsString("박");
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(path));
  screen.ExpectMessageBox("같은 DB가 존재합니다. 덮어 쓰겠습니까?", "주의", TMsgButtons::OkCancel,
                          TMsgIcon::Warning, ui::mrCancel);
  Click(form.spdNewDB);
  EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsEdit);  // no refresh ran
  EXPECT_TRUE(dm.conn.Connected());
  EXPECT_EQ(Setting("DBOPENNAME"), "<none>");
}

TEST_F(MainFlows, OverwriteAcceptedReplacesTheOpenFileWithAnEmptyDatabase) {
  const std::string path = MakeAddressDatabase(dir.Path("a.mdb"), {{"김", "부산"}});
  TFMain& form = Start({kToken, "1", path});
  Tick();
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(path));
  screen.ExpectMessageBox("같은 DB가 존재합니다. 덮어 쓰겠습니까?", "주의", TMsgButtons::OkCancel,
                          TMsgIcon::Warning, ui::mrOk);
  screen.ExpectMessageBox("등록되었습니다!!", "성공", TMsgButtons::Ok, TMsgIcon::Information);
  screen.ExpectModal("자료추가", [](ui::TForm&) { return ui::mrCancel; });
  Click(form.spdNewDB);
  EXPECT_TRUE(dm.adoTblMember.Active());
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 0);
  EXPECT_EQ(Setting("DBOPENNAME"), "a.mdb");
}

TEST_F(MainFlows, AnOverwriteThatFailsLeavesTheOldDatabaseAsItWas) {
  const std::string path = MakeAddressDatabase(dir.Path("a.mdb"), {{"김", "부산"}});
  TFMain& form = Start({kToken, "1", path});
  Tick();
  ASSERT_TRUE(dm.adoTblMember.Active());
  // The data-source file cannot be written (a folder stands where it goes), so both driver
  // requests fail once the old database is closed.
  fs::remove(dir.Path("odbc.ini"));
  ASSERT_EQ(mkdir(dir.Path("odbc.ini").c_str(), 0777), 0);
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(path));
  screen.ExpectMessageBox("같은 DB가 존재합니다. 덮어 쓰겠습니까?", "주의", TMsgButtons::OkCancel,
                          TMsgIcon::Warning, ui::mrOk);
  screen.ExpectPlainMessage("Create DSN (Datasource) failed!");
  ExpectRefusedCreation(path);
  Click(form.spdNewDB);
  screen.VerifyAllMet();
  EXPECT_EQ(Setting("DBOPENNAME"), "a.mdb");
  EXPECT_EQ(StoredNames(path), std::vector<std::string>{"김"});
  for (const auto& entry : fs::directory_iterator(dir.Root()))
    EXPECT_FALSE(entry.path().filename().string().starts_with(".a.mdb")) << entry.path();
}

TEST_F(MainFlows, ANewDatabaseIsMadeAndOpenedAtTheVeryPathChosen) {
  struct {
    const char* what;
    std::string name;
    std::string neighbour;  // a name the path must not be taken for
    bool neighbourExists;
  } cases[] = {
      {"a quote, over an old file", "a\"b.mdb", "a", false},
      {"quotes in a new file", "new \"x\".mdb", "new ", false},
      {"a blank at the end, over an old file", "list.mdb ", "list.mdb", true},
      {"a blank at the end of a new file", "other.mdb ", "other.mdb", true},
  };
  TFMain& form = Start({kToken});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.Path(c.name);
    const bool overwrite = c.name.starts_with("a") || c.name.starts_with("list");
    if (overwrite) {
      MakeAddressDatabase(path, {{"옛", "서울"}});
      ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    }
    if (c.neighbourExists) MakeAddressDatabase(dir.Path(c.neighbour), {{"이웃", "부산"}});
    screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(path));
    if (overwrite) {
      screen.ExpectMessageBox("같은 DB가 존재합니다. 덮어 쓰겠습니까?", "주의",
                              TMsgButtons::OkCancel, TMsgIcon::Warning, ui::mrOk);
    }
    screen.ExpectMessageBox("등록되었습니다!!", "성공", TMsgButtons::Ok, TMsgIcon::Information);
    screen.ExpectModal("자료추가", [](ui::TForm&) { return ui::mrCancel; });
    Click(form.spdNewDB);
    screen.VerifyAllMet();
    EXPECT_EQ(dm.DBPath(), path);
    EXPECT_TRUE(dm.adoTblMember.Active());
    EXPECT_EQ(dm.adoTblMember.RecordCount(), 0);
    if (overwrite) {
      struct stat info;
      ASSERT_EQ(stat(path.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 07777, 0600u);  // the replaced file's mode
    }
    if (c.neighbourExists) {
      EXPECT_EQ(StoredNames(dir.Path(c.neighbour)), std::vector<std::string>{"이웃"});
    } else {
      EXPECT_FALSE(fs::exists(dir.Path(c.neighbour)));
    }
    dm.adoTblMember.Close();
    dm.CloseDB();
  }
}

TEST_F(MainFlows, NewDatabaseInAFolderThatCannotBeWrittenShowsThePathAndTheFailure) {
  TFMain& form = Start({kToken});
  const std::string path = dir.Path("missing-folder/new.mdb");
  screen.ExpectFileDialog("새주소 등록", std::optional<std::string>(path));
  ExpectRefusedCreation(path);
  Click(form.spdNewDB);
  EXPECT_EQ(Setting("DBOPENNAME"), "new.mdb");
  EXPECT_EQ(form.StatusBar1.PanelText(1), "...");
}

TEST_F(MainFlows, OpenFlow) {
  const std::string good = MakeAddressDatabase(dir.Path("other/good.mdb"), {{"김", "부산"}});
  TFMain& form = Start({kToken});

  // Cancel: nothing happens. The dialog starts in DBOPENDIR, else FAddrDir.
  screen.ExpectFileDialog("자료열기", std::optional<std::string>());
  Click(form.spbDBOpen);
  EXPECT_EQ(screen.Shown().back().Dialog->InitialDir, AddressDir());

  platform::ProfileFile(SettingsPath()).WriteString("ZERAVU", "DBOPENDIR", dir.Path("other"));
  screen.ExpectFileDialog("자료열기", std::optional<std::string>(dir.Path("other/good")));
  Click(form.spbDBOpen);
  EXPECT_EQ(screen.Shown().back().Dialog->InitialDir, dir.Path("other"));
  EXPECT_TRUE(dm.adoTblMember.Active());
  EXPECT_EQ(form.StatusBar1.PanelText(1), "good.mdb");
  EXPECT_EQ(form.FAddrDir(), AddressDir());  // the open flow keeps the folder

  // A typed name that does not exist: the message, nothing open, the status bar unchanged.
  screen.ExpectFileDialog("자료열기", std::optional<std::string>(dir.Path("other/nothing.mdb")));
  screen.ExpectPlainMessage(kDbError);
  Click(form.spbDBOpen);
  EXPECT_FALSE(dm.conn.Connected());
  EXPECT_EQ(form.FDBFileName(), "nothing.mdb");
  EXPECT_EQ(form.StatusBar1.PanelText(1), "good.mdb");

  // A file that is not a database.
  screen.ExpectFileDialog("자료열기", std::optional<std::string>(dir.Write("junk.mdb", "junk")));
  screen.ExpectPlainMessage(kDbError);
  Click(form.spbDBOpen);
  EXPECT_FALSE(dm.conn.Connected());
  EXPECT_EQ(Setting("DBOPENNAME"), "<none>");  // the open flow writes nothing
}

TEST_F(MainFlows, OpeningADatabaseWithoutTheAddressTableShowsTheEngineError) {
  const std::string path = dir.Path("plain.mdb");
  {
    Tdm maker;
    ASSERT_TRUE(maker.CreateMDBFile(path));
  }
  TFMain& form = Start({kToken});
  screen.ExpectFileDialog("자료열기", std::optional<std::string>(path));
  screen.ExpectErrorContaining("addr_rec");
  Click(form.spbDBOpen);
  EXPECT_FALSE(dm.adoTblMember.Active());
  EXPECT_EQ(form.StatusBar1.PanelText(1), "...");
}

TEST_F(MainFlows, SaveAndCornerButtonNeedAnOpenTable) {
  TFMain& form = Start({kToken});
  screen.ExpectError(kClosed);
  Click(form.spbMDBSave);
  screen.ExpectError(kClosed);
  ui::RunGuarded(screen, [&] { form.wwDBGMemberIButtonClick(); });
  screen.VerifyAllMet();

  const std::string path = MakeAddressDatabase(dir.Path("a.mdb"), {{"김", "부산"}});
  ASSERT_TRUE(dm.OpenDB(path, "a.mdb"));
  dm.adoTblMember.Open();
  dm.adoTblMember.Edit();
  dm.adoTblMember.FieldByName("선택").SetAsBoolean(false);
  Click(form.spbMDBSave);
  EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsBrowse);
  form.wwDBGMemberIButtonClick();
  EXPECT_EQ(dm.adoTblMember.Sort(), "GID ASC");
  dm.adoTblMember.Close();
  dm.adoTblMember.Open();
  EXPECT_FALSE(dm.adoTblMember.FieldByName("선택").AsBoolean());
}

// GID order differs from the order the records were stored in and from any order by name, so
// only a reset to ascending GID gives it.
TEST_F(MainFlows, TheCornerButtonPutsTheRecordsBackInAscendingGidOrder) {
  const std::string path =
      MakeAddressDatabase(dir.Path("a.mdb"), {{"가", "서울"}, {"나", "부산"}, {"다", "대구"}});
  {
    Tdm maker;
    ASSERT_TRUE(maker.OpenDB(path, "a.mdb"));
    for (const char* set :
         {"GID=2 WHERE 이름='가'", "GID=3 WHERE 이름='나'", "GID=1 WHERE 이름='다'"})
      maker.conn.Execute(std::string("UPDATE addr_rec SET ") + set);
  }
  TFMain& form = Start({kToken, "1", path});
  Tick();
  auto names = [&] {
    std::vector<std::string> shown;
    for (int row = 0; row < form.wwDBGMember.RowCount(); ++row)
      shown.push_back(form.wwDBGMember.CellText(row, 5));
    return shown;
  };
  dm.adoTblMember.SetSort("이름 DESC");  // the list as the user had it sorted
  ASSERT_EQ(names(), (std::vector<std::string>{"다", "나", "가"}));
  Click(form.wwDBGMember.IButton);
  EXPECT_EQ(names(), (std::vector<std::string>{"다", "가", "나"}));
}

TEST_F(MainFlows, APendingRecordIsStoredBeforeClosingAndBeforeAnotherDatabaseOpens) {
  const std::string a = MakeAddressDatabase(dir.Path("a.mdb"), {{"김", "부산"}});
  const std::string b = MakeAddressDatabase(dir.Path("b.mdb"));
  TFMain& form = Start({kToken, "1", a});
  Tick();
  dm.adoTblMember.Insert();
  dm.adoTblMember.FieldByName("이름").SetAsString("새 사람");
  screen.ExpectFileDialog("자료열기", std::optional<std::string>(b));
  Click(form.spbDBOpen);
  ASSERT_TRUE(dm.OpenDB(a, "a.mdb"));
  dm.adoTblMember.Open();
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 2);

  // On close, a record that cannot be stored keeps the window open.
  dm.adoTblMember.Edit();
  dm.adoTblMember.FieldByName("우편번호").SetAsString("123-4567890");
  screen.ExpectErrorContaining("우편번호");
  EXPECT_FALSE(form.CloseQuery());
  EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsEdit);
  dm.adoTblMember.FieldByName("우편번호").SetAsString("123-456");
  EXPECT_TRUE(form.CloseQuery());
  dm.adoTblMember.Close();
  dm.adoTblMember.Open();
  dm.adoTblMember.First();
  EXPECT_EQ(dm.adoTblMember.FieldByName("우편번호").AsString(), "123-456");
}

}  // namespace
}  // namespace zeravu::testing

namespace zeravu::testing {
namespace {

TEST_F(MainFlows, TheSpinBoxFreezesLeadingColumnsWhileSomeStayFree) {
  TInstance z(*this, {kToken});
  TFMain& form = z.form;
  // Other fixed columns than the box's 1 before the creation event: only applying the box's value
  // there brings them back.
  form.wwDBGMember.SetFixedCols(4);
  form.FormCreate();
  EXPECT_EQ(form.wwDBGMember.FixedCols(), 1);
  struct {
    const char* typed;
    int fixed;
  } steps[] = {{"3", 3}, {"7", 3}, {"9", 3}, {"1", 1}, {"6", 6}, {"abc", 1}};
  for (const auto& step : steps) {
    form.RxSE.SetText(step.typed);
    EXPECT_EQ(form.wwDBGMember.FixedCols(), step.fixed) << step.typed;
  }
}

TEST(MainFlowPaths, TextStillInACellEditorIsStoredByEveryPathThatStoresOrDropsTheRecord) {
  using ui::TNavigateBtn;
  struct {
    const char* path;
    std::function<void(ZeravuFixture&)> run;
  } paths[] = {
      {"저장", [](ZeravuFixture& f) { f.main->spbMDBSave.Click(); }},
      {"closing", [](ZeravuFixture& f) { EXPECT_TRUE(f.main->CloseQuery()); }},
      {"자료열기",
       [](ZeravuFixture& f) {
         f.screen.ExpectFileDialog("자료열기", f.MakeAddressDatabase(f.dir.Path("b.mdb")));
         f.main->spbDBOpen.Click();
       }},
      {"새 자료, another file",
       [](ZeravuFixture& f) {
         f.screen.ExpectFileDialog("새주소 등록", std::optional(f.dir.Path("new.mdb")));
         f.screen.ExpectMessageBox("등록되었습니다!!", "성공", TMsgButtons::Ok,
                                   TMsgIcon::Information);
         f.screen.ExpectModal("자료추가", [](ui::TForm&) { return ui::mrCancel; });
         f.main->spdNewDB.Click();
       }},
      {"새 자료, cancelled",
       [](ZeravuFixture& f) {
         f.screen.ExpectFileDialog("새주소 등록", std::optional<std::string>());
         f.main->spdNewDB.Click();
       }},
      {"원상태로 복구", [](ZeravuFixture& f) { f.main->wwDBGMember.IButton.Click(); }},
      {"navigator, first",
       [](ZeravuFixture& f) { f.main->wwDBNav.BtnClick(TNavigateBtn::nbFirst); }},
      {"navigator, page back",
       [](ZeravuFixture& f) { f.main->wwDBNav.BtnClick(TNavigateBtn::nbPriorPage); }},
      {"navigator, prior",
       [](ZeravuFixture& f) { f.main->wwDBNav.BtnClick(TNavigateBtn::nbPrior); }},
      {"navigator, next", [](ZeravuFixture& f) { f.main->wwDBNav.BtnClick(TNavigateBtn::nbNext); }},
      {"navigator, page on",
       [](ZeravuFixture& f) { f.main->wwDBNav.BtnClick(TNavigateBtn::nbNextPage); }},
      {"navigator, last", [](ZeravuFixture& f) { f.main->wwDBNav.BtnClick(TNavigateBtn::nbLast); }},
      {"엑셀로 저장",
       [](ZeravuFixture& f) {
         f.screen.ExpectFileDialog("", std::optional(f.dir.Path("sheet.csv")));
         f.main->spbExcelSaveAs.Click();
       }},
      {"라벨 디자인", [](ZeravuFixture& f) { f.main->spbDesign.Click(); }},
      {"자료추가",
       [](ZeravuFixture& f) {
         f.screen.ExpectModal("자료추가", [&f](ui::TForm&) {
           f.FAddrInfoIn.edtName.SetText("라");
           f.FAddrInfoIn.edtAddr.SetText("광주");
           return ui::mrOk;
         });
         f.main->spbMemberAdd.Click();
       }},
      {"자료편집",
       [](ZeravuFixture& f) {
         // The dialog offers the typed text, and its 저장 stores it.
         f.screen.ExpectModal("자료폅집", [&f](ui::TForm&) {
           EXPECT_EQ(f.FAddrInfoIn.edtAddr.Text(), "typed");
           return ui::mrOk;
         });
         f.main->spbMemberEdit.Click();
       }},
  };
  for (const auto& p : paths) {
    SCOPED_TRACE(p.path);
    ZeravuFixture f;
    const std::string path = f.MakeAddressDatabase(
        f.dir.Path("a.mdb"), {{"가", "서울"}, {"나", "부산"}, {"다", "대구"}});
    TFMain& form = f.Start({kToken, "1", path});
    form.tmActTimer();
    // The user clicks 주소 of the middle record and types, and leaves the editor open.
    form.wwDBGMember.SetCurrentCell(1, 2);
    ASSERT_TRUE(form.wwDBGMember.BeginCellEdit());
    form.wwDBGMember.SetEditorText("typed");
    ui::RunGuarded(f.screen, [&] { p.run(f); });
    f.screen.VerifyAllMet();

    Tdm other;
    ASSERT_TRUE(other.OpenDB(path, "a.mdb"));
    other.adoTblMember.Open();
    other.adoTblMember.SetRecNo(2);
    EXPECT_EQ(other.adoTblMember.FieldByName("이름").AsString(), "나");
    EXPECT_EQ(other.adoTblMember.FieldByName("주소").AsString(), "typed");
  }
}

}  // namespace
}  // namespace zeravu::testing
