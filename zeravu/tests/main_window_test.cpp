// Zeravu's main window on a real (virtual) display, in this process: the wiring between the
// window's widgets and the main form's handlers.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>

#include "ui/wx/convert.h"
#include "ui/wx/dbaware/db_grid_view.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"
#include "zeravu/entry_form.h"
#include "zeravu/main_form_view.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

using ui::wx::testing::ClickButton;
using ui::wx::testing::PressButton;
using ui::wx::testing::RunLoopUntil;
using ui::wx::testing::TModalDriver;

// The main window made as start-up makes it, on a database of three records, the second
// unticked.
struct MainWindow : ZeravuFixture {
  MainWindow() {
    path = MakeAddressDatabase(dir.Path("list.mdb"),
                               {{"가", "서울"}, {"나", "부산", false}, {"다", "대구"}});
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
    ui::testing::ScriptedScreen quiet;
    Tdm other(quiet);
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
  Tdm wxDm{wx};
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

}  // namespace
}  // namespace zeravu::testing
