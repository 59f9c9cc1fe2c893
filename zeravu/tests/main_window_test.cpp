// Zeravu's main window and its entry dialog on a real (virtual) display, in this process: the
// wiring between the windows' widgets and the forms' handlers.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "addressbook/server_list.h"
#include "dbengine/testing/test_server.h"
#include "ui/wx/convert.h"
#include "ui/wx/dbaware/db_grid_view.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"
#include "zeravu/entry_form.h"
#include "zeravu/entry_form_view.h"
#include "zeravu/main_form_view.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

using ui::wx::testing::ClickButton;
using ui::wx::testing::PressButton;
using ui::wx::testing::RunLoopUntil;
using ui::wx::testing::TModalDriver;

const std::vector<ZeravuFixture::Record> kRecords = {
    {"가", "서울"}, {"나", "부산", false}, {"다", "대구"}};

// The main window made as start-up makes it, on a database of three records, the second
// unticked; or on the database (a server list's link file) given.
struct MainWindow : ZeravuFixture {
  explicit MainWindow(std::string database = {}) {
    path = database.empty() ? MakeAddressDatabase(dir.Path("list.mdb"), kRecords) : database;
    form = std::make_unique<TFMain>(wx, wxDm, wxEntry, Environment({kToken, "1", path}));
    view = std::make_unique<TFMainView>(wx, *form);
    form->FormCreate();
    view->Show();
    // The start-up timer's first tick carries out the mode.
    RunLoopUntil([&] { return wxDm.adoTblMember.Active(); });
    grid = dynamic_cast<ui::wx::TwwDBGridView*>(
        wxWindow::FindWindowByName("wwDBGMember", view->Window()));
  }
  ~MainWindow() { view.reset(); }

  // What the file holds now, read through a connection of its own.
  std::string Stored(const std::string& name, const std::string& field) {
    Tdm other;
    EXPECT_TRUE(other.OpenDB(path, "list.mdb"));
    other.adoTblMember.Open();
    for (other.adoTblMember.First(); !other.adoTblMember.Eof(); other.adoTblMember.Next()) {
      if (other.adoTblMember.FieldByName("이름").AsString() == name) {
        return other.adoTblMember.FieldByName(field).AsString();
      }
    }
    return "<gone>";
  }

  wxPoint CellCentre(int row, int col) {
    wxRect rect = grid->CellToRect(row, col);
    wxWindow* window =
        col < grid->GetNumberFrozenCols() ? grid->GetFrozenColGridWindow() : grid->GetGridWindow();
    wxPoint inWindow = rect.GetPosition() + rect.GetSize() / 2;
    if (col >= grid->GetNumberFrozenCols() && grid->GetNumberFrozenCols() > 0)
      inWindow.x -= grid->CellToRect(0, grid->GetNumberFrozenCols() - 1).GetRight() + 1;
    return window->ClientToScreen(inWindow);
  }

  platform::testing::ScopedEnv config{"XDG_CONFIG_HOME", dir.Path("config")};
  ui::wx::WxScreen wx;
  Tdm wxDm;
  postcode::TFZipSearch wxZip{wx, ExeDir()};
  TFAddrInfoIn wxEntry{wx, wxZip};
  std::string path;
  std::unique_ptr<TFMain> form;
  std::unique_ptr<TFMainView> view;
  ui::wx::TwwDBGridView* grid = nullptr;
};

TEST(MainWindow, OpensOnTheDatabaseWithTheGridFilledAndTheFileNameInTheStatusBar) {
  MainWindow w;
  ASSERT_NE(w.grid, nullptr);
  EXPECT_EQ(w.grid->GetNumberRows(), 3);
  EXPECT_EQ(ui::wx::FromWx(w.grid->GetCellValue(2, 5)), "다");
  wxStatusBar* status = w.view->Frame()->GetStatusBar();
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(ui::wx::FromWx(status->GetStatusText(0)), "데이터 베이스");
  EXPECT_EQ(ui::wx::FromWx(status->GetStatusText(1)), "list.mdb");
  EXPECT_EQ(ui::wx::FromWx(w.view->Window()->GetTitle()), "자료관리");
}

// A list on a database server opens from its link file into the same window: the grid filled,
// the link file's name in the status bar.
TEST(MainWindow, OnAServerListTheGridIsFilledAsForAFile) {
  ZARIZE_REQUIRE_TEST_SERVER();
  platform::testing::ScratchDir scratch;
  dbengine::testing::ServerSchema schema(*dbengine::testing::TestServer::Shared(), scratch);
  Tdm maker;
  const std::string link = scratch.Path("사무실.mdb");
  addressbook::CreateServerAddressList(
      maker,
      dbengine::testing::TestServer::Shared()->ConnInfo(dbengine::testing::kTestAdministrator),
      link, {schema.Name(), ""}, false);
  ZeravuFixture::FillAddressDatabase(link, kRecords);

  MainWindow w(link);
  ASSERT_NE(w.grid, nullptr);
  ASSERT_EQ(w.grid->GetNumberRows(), 3);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(ui::wx::FromWx(w.grid->GetCellValue(row, 5)), kRecords[row].Name);
    EXPECT_EQ(ui::wx::FromWx(w.grid->GetCellValue(row, 2)), kRecords[row].Address);
    EXPECT_EQ(ui::wx::FromWx(w.grid->GetCellValue(row, 0)), kRecords[row].Ticked ? "1" : "");
  }
  EXPECT_EQ(ui::wx::FromWx(w.view->Frame()->GetStatusBar()->GetStatusText(1)), "사무실.mdb");
}

TEST(MainWindow, ACheckBoxClickStaysPendingUntilTheSaveButtonStoresIt) {
  MainWindow w;
  wxUIActionSimulator mouse;
  mouse.MouseMove(w.CellCentre(1, 0));
  wxYield();
  mouse.MouseClick();
  RunLoopUntil([&] { return w.wxDm.adoTblMember.Modified(); });
  EXPECT_EQ(w.Stored("나", "선택"), "False");
  PressButton(*w.view->Window(), "저장");
  EXPECT_EQ(w.Stored("나", "선택"), "True");
}

TEST(MainWindow, TextStillInACellEditorIsStoredByTheSaveButton) {
  MainWindow w;
  wxUIActionSimulator user;
  user.MouseMove(w.CellCentre(0, 2));  // 주소 of the first record
  wxYield();
  user.MouseClick();
  RunLoopUntil([&] { return w.form->wwDBGMember.Col() == 2; });
  user.Text("Busan");
  RunLoopUntil([&] { return w.form->wwDBGMember.EditorText() == "Busan"; });
  // The button takes no focus, so the editor is still open when the click comes.
  ClickButton(*w.view->Window(), "저장");
  RunLoopUntil([&] { return w.wxDm.adoTblMember.State() == dbengine::dsBrowse; });
  EXPECT_EQ(w.Stored("가", "주소"), "Busan");
}

TEST(MainWindow, CtrlDeleteDeletesTheCurrentRecordAfterTheQuestion) {
  MainWindow w;
  w.form->wwDBGMember.SetCurrentCell(0, 5);
  for (const char* answer : {"취소", "확인"}) {
    TModalDriver user({[answer](wxDialog& d) { PressButton(d, answer); }});
    // The key as the grid's window hands it on: Ctrl held with Delete.
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = WXK_DELETE;
    key.SetControlDown(true);
    key.SetEventObject(w.grid);
    w.grid->ProcessWindowEvent(key);
    RunLoopUntil([&] { return user.AllPlayed(); });
    EXPECT_EQ(w.Stored("가", "주소"), std::string(answer) == "취소" ? "서울" : "<gone>");
  }
  EXPECT_EQ(w.grid->GetNumberRows(), 2);
}

TEST(MainWindow, TheSpinBoxFreezesLeadingColumns) {
  MainWindow w;
  RunLoopUntil([&] { return w.grid->GetNumberFrozenCols() == 1; });
  w.form->RxSE.SetText("3");
  RunLoopUntil([&] { return w.grid->GetNumberFrozenCols() == 3; });
  w.form->RxSE.SetText("9");  // would leave no column free: nothing changes
  wxYield();
  EXPECT_EQ(w.grid->GetNumberFrozenCols(), 3);
}

// The entry dialog's view, made after the main window as start-up makes it.
struct EntryWindow : MainWindow {
  TFAddrInfoInView entryView{wx, wxEntry};

  // The text of the box that has the keyboard focus.
  static std::string FocusedBoxText() {
    auto* box = dynamic_cast<wxTextCtrl*>(wxWindow::FindFocus());
    return box ? ui::wx::FromWx(box->GetValue()) : "<no box>";
  }
};

TEST(EntryDialog, TabWalksTheBoxesInTheirOrderAndSaveConfirmsTheAdd) {
  EntryWindow w;
  TModalDriver user({[&](wxDialog& d) {
    RunLoopUntil([&] { return w.FocusedBoxText() != "<no box>"; });
    wxUIActionSimulator keyboard;
    for (const char* text : {"zip", "addr", "company", "name", "detail", "dear"}) {
      keyboard.Text(text);
      keyboard.Char(WXK_TAB);
    }
    RunLoopUntil([&] { return w.wxEntry.edtDear.Text() == "dear"; });
    ClickButton(d, "저장");
  }});
  PressButton(*w.view->Window(), "자료추가");
  ASSERT_TRUE(user.AllPlayed());
  dbengine::TDataSet& table = w.wxDm.adoTblMember;
  ASSERT_EQ(table.State(), dbengine::dsInsert);
  const std::pair<const char*, const char*> stored[] = {{"우편번호", "zip"},    {"주소", "addr"},
                                                        {"회사", "company"},    {"이름", "name"},
                                                        {"상세주소", "detail"}, {"존칭", "dear"}};
  for (const auto& [column, text] : stored) EXPECT_EQ(table.FieldByName(column).AsString(), text);
}

TEST(EntryDialog, LaterShowingsKeepTheFocusWhereTheUserLeftItAndCancelChangesNothing) {
  EntryWindow w;
  std::string focused;
  TModalDriver user({[&](wxDialog& d) {
                       // The name box, three tabs on from the postcode box.
                       RunLoopUntil([&] { return w.FocusedBoxText() != "<no box>"; });
                       wxUIActionSimulator keyboard;
                       for (int i = 0; i < 3; ++i) keyboard.Char(WXK_TAB);
                       RunLoopUntil([&] { return w.FocusedBoxText() == "가"; });
                       // What is typed before 취소 goes nowhere.
                       keyboard.Text("x");
                       RunLoopUntil([&] { return w.wxEntry.edtName.Text() != "가"; });
                       ClickButton(d, "취소");
                     },
                     [&](wxDialog& d) {
                       // The box the focus settles in (filled anew from the record); the toolkit
                       // puts it somewhere first.
                       RunLoopUntil([&] { return w.FocusedBoxText() == "가"; });
                       focused = w.FocusedBoxText();
                       ClickButton(d, "취소");
                     }},
                    10000);  // past the wait for the focus, so a failed wait still ends it
  PressButton(*w.view->Window(), "자료편집");
  PressButton(*w.view->Window(), "자료편집");
  ASSERT_TRUE(user.AllPlayed());
  EXPECT_EQ(focused, "가");
  EXPECT_EQ(w.wxDm.adoTblMember.State(), dbengine::dsBrowse);
  EXPECT_EQ(w.Stored("가", "주소"), "서울");
}

}  // namespace
}  // namespace zeravu::testing
