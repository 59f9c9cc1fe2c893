#include "ui/wx/dbaware/db_grid_view.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <set>

#include "dbengine/types.h"
#include "ui/dbaware/testing/member_table.h"
#include "ui/form.h"
#include "ui/wx/control_views.h"
#include "ui/wx/convert.h"
#include "ui/wx/form_view.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"

namespace ui::wx {
namespace {

using ui::testing::TMemberTable;

constexpr int kCheck = 0;
constexpr int kAddress = 2;
constexpr int kName = 5;

// A grid model that notes which records the view had it read.
class TCountingGrid : public TwwDBGrid {
 public:
  using TwwDBGrid::TwwDBGrid;
  mutable std::set<int> RowsRead;

 protected:
  std::string ReadCell(int record, int field) const override {
    RowsRead.insert(record);
    return TwwDBGrid::ReadCell(record, field);
  }
};

struct GridForm : TForm {
  explicit GridForm(Screen& screen) : TForm("TFMain"), wwDBGMember("wwDBGMember", screen, this) {
    SetCaption("자료관리");
    Left = 20;
    Top = 20;
    ClientWidth = 762;
    ClientHeight = 400;
  }
  TCountingGrid wwDBGMember;
};

struct GridFormView : TFormView {
  GridFormView(WxScreen& screen, GridForm& form, const wxRect& rect)
      : TFormView(screen, form, TKind::Frame),
        Grid(new TwwDBGridView(*this, Window(), form.wwDBGMember, rect)) {}
  TwwDBGridView* Grid;
};

// Everything one window test needs, in the order it must be made and taken down.
struct GridWindow {
  GridWindow(int rows, int fixedCols, const wxRect& rect = wxRect(0, 0, 762, 400))
      : db(rows), form(screen) {
    form.wwDBGMember.SetColumns(TMemberTable::GridColumns());
    form.wwDBGMember.SetFixedCols(fixedCols);
    form.wwDBGMember.SetDataSource(&db.Source);
    // Dressed as the main window dresses its record grid.
    form.wwDBGMember.SetTitleColor(clFormBlue);
    form.wwDBGMember.IButton.SetHint("원상태로 복구");
    form.wwDBGMember.IButton.SetVisible(true);
    view = std::make_unique<GridFormView>(screen, form, rect);
    view->Show();
  }
  TCountingGrid& Model() { return form.wwDBGMember; }
  TwwDBGridView& Grid() { return *view->Grid; }

  // Waits until the grid has painted its cells at least once since the reads were forgotten.
  void AwaitPaint() {
    Model().RowsRead.clear();
    Grid().ForceRefresh();
    testing::RunLoopUntil([&] { return !Model().RowsRead.empty(); });
    Grid().Update();
  }

  TMemberTable db;
  WxScreen screen;
  GridForm form;
  std::unique_ptr<GridFormView> view;
};

// Where a cell is on the screen, in whichever part of the grid shows it (frozen or not), for a
// grid that is not scrolled.
wxPoint CellCentre(TwwDBGridView& grid, int row, int col) {
  wxRect rect = grid.CellToRect(row, col);
  wxWindow* window =
      col < grid.GetNumberFrozenCols() ? grid.GetFrozenColGridWindow() : grid.GetGridWindow();
  wxPoint inWindow = rect.GetPosition() + rect.GetSize() / 2;
  if (col >= grid.GetNumberFrozenCols() && grid.GetNumberFrozenCols() > 0)
    inWindow.x -= grid.CellToRect(0, grid.GetNumberFrozenCols() - 1).GetRight() + 1;
  return window->ClientToScreen(inWindow);
}

void ClickAt(const wxPoint& where) {
  wxUIActionSimulator mouse;
  mouse.MouseMove(where);
  wxYield();
  mouse.MouseClick();
}

TEST(DataGridWindow, AHundredThousandRowsShowAndOnlyTheVisibleOnesAreRead) {
  GridWindow w(100000, 1);
  testing::RunLoopUntil([&] { return w.Grid().IsShownOnScreen(); });
  EXPECT_EQ(w.Grid().GetNumberRows(), 100000);
  w.AwaitPaint();

  const int rowsInSight =
      w.Grid().GetGridWindow()->GetClientSize().y / w.Grid().GetDefaultRowSize();
  ASSERT_GT(rowsInSight, 5);
  EXPECT_LE(*w.Model().RowsRead.rbegin(), rowsInSight + 1);
  EXPECT_EQ(FromWx(w.Grid().GetCellValue(0, kName)), "이름 1");
  wxWindow& corner = *w.Grid().CornerButton();
  EXPECT_TRUE(corner.IsShownOnScreen());
  EXPECT_EQ(corner.GetParent(), w.Grid().GetGridCornerLabelWindow());
  EXPECT_EQ(corner.GetSize(), wxSize(TwwDBGrid::kIButtonWidth, TwwDBGrid::kIButtonHeight));

  // A move far down (as the navigator makes it) scrolls there and reads only around it.
  w.Model().RowsRead.clear();
  w.Model().SetCurrentCell(60000, kName);
  EXPECT_EQ(w.Grid().GetGridCursorRow(), 60000);
  w.AwaitPaint();
  EXPECT_GE(*w.Model().RowsRead.begin(), 60000 - rowsInSight - 1);
  EXPECT_LE(*w.Model().RowsRead.rbegin(), 60000 + rowsInSight + 1);
}

// One click ticks or clears the box at once, in a fixed column as in a scrolling one; the change
// stays pending until a click on another row stores it.
TEST(DataGridWindow, OneClickTogglesACheckBoxAlsoWhileFixed) {
  for (int fixedCols : {0, 1}) {
    SCOPED_TRACE(fixedCols);
    GridWindow w(5, fixedCols);
    testing::RunLoopUntil(
        [&] { return w.Grid().IsShownOnScreen() && w.Grid().GetNumberFrozenCols() == fixedCols; });
    ASSERT_TRUE(w.Model().CellChecked(2, kCheck));

    ClickAt(CellCentre(w.Grid(), 2, kCheck));
    testing::RunLoopUntil([&] { return !w.Model().CellChecked(2, kCheck); });
    EXPECT_EQ(w.Model().Row(), 2);
    EXPECT_EQ(w.db.Table.State(), dbengine::dsEdit);
    EXPECT_EQ(w.db.Stored(3, "선택"), "True");

    ClickAt(CellCentre(w.Grid(), 4, kName));
    testing::RunLoopUntil([&] { return w.Model().Row() == 4; });
    EXPECT_EQ(w.db.Stored(3, "선택"), "False");
    EXPECT_FALSE(w.Model().CellChecked(2, kCheck));
  }
}

// Typing into a cell opens its editor; Enter puts the text into the record, which stays pending
// until the user clicks another row.
TEST(DataGridWindow, TypedTextStaysPendingOnTheRecordUntilAnotherRowIsClicked) {
  GridWindow w(5, 1);
  testing::RunLoopUntil([&] { return w.Grid().IsShownOnScreen(); });
  ClickAt(CellCentre(w.Grid(), 1, kAddress));
  testing::RunLoopUntil([&] { return w.Model().Row() == 1 && w.Model().Col() == kAddress; });

  wxUIActionSimulator keyboard;
  keyboard.Text("abc");
  testing::RunLoopUntil([&] { return w.Model().EditorText() == "abc"; });
  keyboard.Char(WXK_RETURN);
  testing::RunLoopUntil([&] { return !w.Grid().IsCellEditControlEnabled(); });
  EXPECT_EQ(w.Model().CellText(1, kAddress), "abc");
  EXPECT_EQ(w.Model().Row(), 1);
  EXPECT_EQ(w.db.Table.State(), dbengine::dsEdit);
  EXPECT_EQ(w.db.Stored(2, "주소"), "서울시 2번지");

  ClickAt(CellCentre(w.Grid(), 3, kName));
  testing::RunLoopUntil([&] { return w.Model().Row() == 3; });
  EXPECT_EQ(w.db.Stored(2, "주소"), "abc");
}

// The grid cannot freeze columns before it has a size; it does so once laid out, and follows the
// model afterwards.
TEST(DataGridWindow, FixedColumnsFreezeOnceTheGridIsLaidOut) {
  GridWindow w(50, 3, wxRect(0, 0, 0, 0));
  EXPECT_EQ(w.Grid().GetNumberFrozenCols(), 0);
  w.Grid().SetSize(0, 0, 762, 400);
  testing::RunLoopUntil([&] { return w.Grid().GetNumberFrozenCols() == 3; });

  w.Model().SetFixedCols(1);
  EXPECT_EQ(w.Grid().GetNumberFrozenCols(), 1);
  w.Model().SetFixedCols(7);
  EXPECT_EQ(w.Grid().GetNumberFrozenCols(), 1);
}

}  // namespace
}  // namespace ui::wx
