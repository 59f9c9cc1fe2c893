#include "ui/dbaware/db_grid.h"

#include <gtest/gtest.h>

#include <set>

#include "dbengine/table.h"
#include "platform/errors.h"
#include "ui/dbaware/confirm_delete.h"
#include "ui/dbaware/testing/member_table.h"
#include "ui/testing/scripted_screen.h"

namespace ui {
namespace {

using dbengine::dsBrowse;
using dbengine::dsEdit;
using dbengine::dsInsert;
using testing::ScriptedScreen;
using testing::TMemberTable;

constexpr int kCheck = 0;    // 선택
constexpr int kAddress = 2;  // 주소
constexpr int kName = 5;     // 이름

// A grid that notes which records it reads.
class TCountingGrid : public TwwDBGrid {
 public:
  using TwwDBGrid::TwwDBGrid;
  mutable std::multiset<int> RecordsRead;

 protected:
  std::string ReadCell(int record, int field) const override {
    RecordsRead.insert(record);
    return TwwDBGrid::ReadCell(record, field);
  }
};

class GridTest : public ::testing::Test {
 public:
  explicit GridTest(int rows = 5) : db(rows) {
    grid.SetColumns(TMemberTable::GridColumns());
    grid.SetDataSource(&db.Source);
  }

  void ExpectDeleteQuestion(int answer) {
    screen.ExpectMessageBox(kDeleteRecordPrompt, kDeleteRecordTitle, TMsgButtons::OkCancel,
                            TMsgIcon::Warning, answer);
  }

  TMemberTable db;
  ScriptedScreen screen;
  TCountingGrid grid{"wwDBGMember", screen};
};

TEST_F(GridTest, ShowsTheFieldsOfEachRowByColumn) {
  ASSERT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.CellText(2, kName), "이름 3");
  EXPECT_EQ(grid.CellText(2, 1), "000-003");
  EXPECT_TRUE(grid.ColumnIsCheckBox(kCheck));
  EXPECT_FALSE(grid.ColumnIsCheckBox(kName));
  EXPECT_TRUE(grid.CellChecked(0, kCheck));
  EXPECT_FALSE(grid.CellChecked(1, kCheck));
  // Nothing to show past the rows, or without a data set.
  EXPECT_EQ(grid.CellText(5, kName), "");
  db.Table.Close();
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.Row(), -1);
}

TEST_F(GridTest, FixedColumnsLeaveAtLeastOneColumnToScroll) {
  struct Step {
    int Requested;
    int Expected;
  };
  // Applied in order: a refused count keeps what was there before.
  const Step steps[] = {{1, 1}, {3, 3}, {7, 3}, {9, 3}, {6, 6}, {-1, 6}, {0, 0}};
  for (const Step& step : steps) {
    grid.SetFixedCols(step.Requested);
    EXPECT_EQ(grid.FixedCols(), step.Expected) << "after SetFixedCols(" << step.Requested << ")";
  }
}

TEST_F(GridTest, FewerColumnsShrinkTheFixedOnes) {
  grid.SetFixedCols(5);
  grid.SetColumns({{"이름", 10, "이름"}, {"존칭", 20, "존칭"}});
  EXPECT_EQ(grid.FixedCols(), 1);
}

// A click toggles the tick at once, but the file keeps the old value until something stores the
// record: a move to another record or a refresh.
TEST_F(GridTest, CheckBoxClickTogglesAndStaysPendingUntilStored) {
  struct Case {
    const char* Name;
    std::function<void(GridTest&)> Store;
  };
  const Case cases[] = {
      {"move", [](GridTest& t) { t.grid.SetCurrentCell(3, kName); }},
      {"refresh", [](GridTest& t) { t.db.Table.Refresh(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const bool before = grid.CellChecked(1, kCheck);
    ASSERT_TRUE(grid.ClickCell(1, kCheck));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.CellChecked(1, kCheck), !before);
    EXPECT_EQ(db.Table.State(), dsEdit);
    EXPECT_EQ(grid.RowIndicator(1), TRowIndicator::Editing);
    EXPECT_EQ(db.Stored(2, "선택"), before ? "True" : "False");

    c.Store(*this);
    EXPECT_EQ(db.Table.State(), dsBrowse);
    EXPECT_EQ(db.Stored(2, "선택"), before ? "False" : "True");
    EXPECT_EQ(grid.CellChecked(1, kCheck), !before);
  }
}

TEST_F(GridTest, TwoClicksOnTheSameRowGiveBackTheOldValue) {
  ASSERT_TRUE(grid.ClickCell(0, kCheck));
  ASSERT_TRUE(grid.ClickCell(0, kCheck));
  EXPECT_TRUE(grid.CellChecked(0, kCheck));
  grid.SetCurrentCell(1, kCheck);
  EXPECT_EQ(db.Stored(1, "선택"), "True");
}

TEST_F(GridTest, ClickOnATextCellOrInAReadOnlyGridTogglesNothing) {
  EXPECT_FALSE(grid.ClickCell(1, kName));
  EXPECT_EQ(db.Table.State(), dsBrowse);

  TwwDBGridOptions options;
  options.Editing = false;
  grid.SetOptions(options);
  EXPECT_FALSE(grid.ClickCell(1, kCheck));
  EXPECT_FALSE(grid.KeyDown(VK_SPACE, 0));
  EXPECT_FALSE(grid.CellChecked(1, kCheck));
  EXPECT_EQ(db.Table.State(), dsBrowse);
}

TEST_F(GridTest, SpaceTogglesTheCurrentCheckBox) {
  grid.SetCurrentCell(1, kCheck);
  EXPECT_TRUE(grid.KeyDown(VK_SPACE, 0));
  EXPECT_TRUE(grid.CellChecked(1, kCheck));
  grid.SetCurrentCell(1, kName);
  EXPECT_FALSE(grid.KeyDown(VK_SPACE, 0));
}

TEST_F(GridTest, CellEditStaysPendingOnTheRecordUntilAMove) {
  grid.SetCurrentCell(0, kAddress);
  ASSERT_TRUE(grid.BeginCellEdit());
  EXPECT_EQ(grid.EditorText(), "서울시 1번지");
  EXPECT_EQ(db.Table.State(), dsEdit);
  grid.SetEditorText("부산시 7번지");
  grid.EndCellEdit(true);

  EXPECT_FALSE(grid.EditorOpen());
  EXPECT_EQ(db.Table.State(), dsEdit);
  EXPECT_EQ(grid.CellText(0, kAddress), "부산시 7번지");
  EXPECT_EQ(db.Stored(1, "주소"), "서울시 1번지");

  grid.SetCurrentCell(1, kAddress);
  EXPECT_EQ(db.Stored(1, "주소"), "부산시 7번지");
}

TEST_F(GridTest, CancelledEditorLeavesTheFieldAsItWas) {
  grid.SetCurrentCell(0, kAddress);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.SetEditorText("버릴 글");
  grid.EndCellEdit(false);
  EXPECT_EQ(grid.CellText(0, kAddress), "서울시 1번지");
  EXPECT_FALSE(db.Table.Modified());
}

// The text of an editor still open when the user clicks another cell belongs to the cell it was
// typed in, not to the one clicked.
TEST_F(GridTest, MovingWithTheEditorOpenStoresItsTextInItsOwnRecord) {
  grid.SetCurrentCell(0, kAddress);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.SetEditorText("새 주소");
  grid.SetCurrentCell(2, kName);

  EXPECT_FALSE(grid.EditorOpen());
  EXPECT_EQ(db.Stored(1, "주소"), "새 주소");
  EXPECT_EQ(db.Stored(3, "주소"), "서울시 3번지");
  EXPECT_EQ(db.Stored(3, "이름"), "이름 3");
}

TEST_F(GridTest, MovingToAnotherColumnOfTheRowKeepsTheRecordPending) {
  grid.SetCurrentCell(0, kAddress);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.SetEditorText("새 주소");
  grid.SetCurrentCell(0, kName);
  EXPECT_EQ(grid.Col(), kName);
  EXPECT_EQ(grid.CellText(0, kAddress), "새 주소");
  EXPECT_EQ(db.Table.State(), dsEdit);
  EXPECT_EQ(db.Stored(1, "주소"), "서울시 1번지");
}

TEST_F(GridTest, CommitEditWritesTheOpenEditorWithoutStoring) {
  grid.SetCurrentCell(1, kName);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.SetEditorText("홍길동");
  grid.CommitEdit();

  EXPECT_TRUE(grid.EditorOpen());
  EXPECT_EQ(db.Table.FieldByName("이름").AsString(), "홍길동");
  EXPECT_TRUE(db.Table.Modified());
  EXPECT_EQ(db.Stored(2, "이름"), "이름 2");
  // What the export does next: its walk stores the record.
  db.Table.First();
  EXPECT_EQ(db.Stored(2, "이름"), "홍길동");
}

TEST_F(GridTest, CommitEditWithoutAnEditorChangesNothing) {
  grid.SetCurrentCell(1, kName);
  grid.CommitEdit();
  EXPECT_EQ(db.Table.State(), dsBrowse);
  // An editor whose text was not changed leaves the record unmodified.
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.CommitEdit();
  EXPECT_FALSE(db.Table.Modified());
}

TEST_F(GridTest, OnlyTextCellsOfAnEditingGridTakeAnEditor) {
  grid.SetCurrentCell(0, kCheck);
  EXPECT_FALSE(grid.BeginCellEdit());
  grid.SetCurrentCell(0, kName);
  TwwDBGridOptions options;
  options.Editing = false;
  grid.SetOptions(options);
  EXPECT_FALSE(grid.BeginCellEdit());
  EXPECT_EQ(db.Table.State(), dsBrowse);
}

TEST_F(GridTest, TextThatIsNoValueOfTheFieldIsRefusedAndTheEditorStays) {
  grid.SetColumns({{"GID", 5, "GID"}, {"이름", 10, "이름"}});
  grid.SetCurrentCell(0, 0);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.SetEditorText("abc");
  EXPECT_THROW(grid.SetCurrentCell(1, 0), platform::Exception);
  EXPECT_TRUE(grid.EditorOpen());
  EXPECT_EQ(grid.Row(), 0);
}

TEST_F(GridTest, CtrlDeleteAsksAndDeletesOnlyOnOk) {
  struct Case {
    int Answer;
    int RowsAfter;
    const char* StoredName;
  };
  const Case cases[] = {{mrCancel, 5, "이름 2"}, {mrOk, 4, "<none>"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Answer);
    grid.SetCurrentCell(1, kName);
    ExpectDeleteQuestion(c.Answer);
    EXPECT_TRUE(grid.KeyDown(VK_DELETE, ssCtrl));
    screen.VerifyAllMet();
    EXPECT_EQ(grid.RowCount(), c.RowsAfter);
    EXPECT_EQ(db.Stored(2, "이름"), c.StoredName);
  }
}

TEST_F(GridTest, DeleteWithoutCtrlOrInAReadOnlyGridAsksNothing) {
  EXPECT_FALSE(grid.KeyDown(VK_DELETE, 0));
  TwwDBGridOptions options;
  options.Editing = false;
  grid.SetOptions(options);
  EXPECT_TRUE(grid.KeyDown(VK_DELETE, ssCtrl));
  EXPECT_EQ(grid.RowCount(), 5);
}

TEST_F(GridTest, NoRowIsEverAddedFromTheGrid) {
  grid.SetCurrentCell(4, kName);
  EXPECT_TRUE(grid.KeyDown(VK_INSERT, 0));
  EXPECT_TRUE(grid.KeyDown(VK_INSERT, ssShift));
  grid.SetCurrentCell(5, kName);
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(db.Table.State(), dsBrowse);
}

TEST_F(GridTest, LeavingTheGridCancelsAnUntouchedNewRowOnly) {
  db.Table.Insert();
  ASSERT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.RowIndicator(grid.Row()), TRowIndicator::Inserting);
  grid.DoExit();
  EXPECT_EQ(db.Table.State(), dsBrowse);
  EXPECT_EQ(grid.RowCount(), 5);

  db.Table.Insert();
  db.Table.FieldByName("이름").SetAsString("새 사람");
  grid.DoExit();
  EXPECT_EQ(db.Table.State(), dsInsert);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(db.StoredCount(), 5);
}

TEST_F(GridTest, LeavingTheGridKeepsANewRowTypedIntoAndWritesTheEditor) {
  db.Table.Insert();
  grid.SetCurrentCell(grid.Row(), kName);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.SetEditorText("김철수");
  grid.DoExit();
  EXPECT_EQ(db.Table.State(), dsInsert);
  EXPECT_EQ(db.Table.FieldByName("이름").AsString(), "김철수");
}

TEST_F(GridTest, RowIndicatorFollowsTheCurrentRecordAndItsState) {
  grid.SetCurrentCell(2, kName);
  EXPECT_EQ(grid.RowIndicator(2), TRowIndicator::Current);
  EXPECT_EQ(grid.RowIndicator(1), TRowIndicator::None);
  ASSERT_TRUE(grid.BeginCellEdit());
  EXPECT_EQ(grid.RowIndicator(2), TRowIndicator::Editing);
}

// A navigator, a refresh or a form's own step moves the data set under the grid: what the editor
// holds is stored first, as if the user had left the cell.
TEST_F(GridTest, AMoveFromElsewhereStoresTheEditorsTextClosesItAndTellsTheView) {
  int moves = 0;
  grid.CurrentChanged.Connect([&] { ++moves; });
  grid.SetCurrentCell(0, kName);
  moves = 0;
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.SetEditorText("홍길동");
  db.Table.Next();
  EXPECT_FALSE(grid.EditorOpen());
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_GE(moves, 1);
  EXPECT_EQ(db.Stored(1, "이름"), "홍길동");
}

TEST_F(GridTest, DoubleClickRunsTheHandler) {
  int clicks = 0;
  grid.OnDblClick = [&] { ++clicks; };
  grid.DblClick();
  EXPECT_EQ(clicks, 1);
}

TEST_F(GridTest, CornerButtonIsHiddenUntilTheFormShowsIt) {
  EXPECT_EQ(grid.IButton.Name(), "wwDBGMemberIButton");
  EXPECT_FALSE(grid.IButton.Visible());
}

class LargeGridTest : public GridTest {
 protected:
  LargeGridTest() : GridTest(2000) {}
};

// The grid reads a cell only when a view asks for it: moving, ticking, editing, storing and
// re-reading the records read none, and a paint of twenty rows reads those twenty alone.
TEST_F(LargeGridTest, ReadsOnlyTheRowsAViewPaints) {
  grid.SetFixedCols(1);
  grid.SetCurrentCell(1500, kName);
  ASSERT_TRUE(grid.ClickCell(1200, kCheck));
  grid.SetCurrentCell(1300, kAddress);
  ASSERT_TRUE(grid.BeginCellEdit());
  grid.SetEditorText("다른 주소");
  grid.CommitEdit();
  db.Table.Refresh();
  EXPECT_EQ(grid.RowCount(), 2000);
  EXPECT_TRUE(grid.RecordsRead.empty());

  const int current = grid.Row();
  for (int row = 700; row < 720; ++row)
    for (int col = 0; col < grid.ColumnCount(); ++col) grid.CellText(row, col);
  std::set<int> rows(grid.RecordsRead.begin(), grid.RecordsRead.end());
  EXPECT_EQ(rows.size(), 20u);
  EXPECT_EQ(*rows.begin(), 700);
  EXPECT_EQ(*rows.rbegin(), 719);
  EXPECT_EQ(grid.RecordsRead.size(), 20u * 7u);
  EXPECT_EQ(grid.Row(), current);
}

}  // namespace
}  // namespace ui
