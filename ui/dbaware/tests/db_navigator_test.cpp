#include "ui/dbaware/db_navigator.h"

#include <gtest/gtest.h>

#include <functional>

#include "dbengine/query.h"
#include "ui/dbaware/confirm_delete.h"
#include "ui/dbaware/testing/member_table.h"
#include "ui/testing/scripted_screen.h"

namespace ui {
namespace {

using testing::ScriptedScreen;
using testing::TMemberTable;

// The buttons' enabled states in their order, "1" for enabled: first, back 10, prior, next,
// forward 10, last, delete.
std::string EnabledButtons(const TwwDBNavigator& nav) {
  std::string states;
  for (TNavigateBtn button : kNavigateButtons) states += nav.ButtonEnabled(button) ? '1' : '0';
  return states;
}

class NavigatorTest : public ::testing::Test {
 public:
  explicit NavigatorTest(int rows = 5) : db(rows) { nav.SetDataSource(&db.Source); }

  TMemberTable db;
  ScriptedScreen screen;
  TwwDBNavigator nav{"wwDBNav", screen};
};

TEST_F(NavigatorTest, ButtonsFollowTheStateOfTheDataSet) {
  struct Case {
    const char* Name;
    std::function<void(NavigatorTest&)> Setup;
    const char* Expected;
  };
  const Case cases[] = {
      {"on the first record", [](NavigatorTest&) {}, "0001111"},
      {"in the middle", [](NavigatorTest& t) { t.db.Table.SetRecNo(3); }, "1111111"},
      {"on the last record", [](NavigatorTest& t) { t.db.Table.Last(); }, "1110001"},
      {"stepped onto the last record", [](NavigatorTest& t) { t.db.Table.MoveBy(4); }, "1110001"},
      {"back on the first record",
       [](NavigatorTest& t) {
         t.db.Table.Last();
         t.db.Table.MoveBy(-4);
       },
       "0001111"},
      {"closed", [](NavigatorTest& t) { t.db.Table.Close(); }, "0000000"},
      {"unbound", [](NavigatorTest& t) { t.nav.SetDataSource(nullptr); }, "0000000"},
      {"bound to no data set", [](NavigatorTest& t) { t.db.Source.SetDataSet(nullptr); },
       "0000000"},
  };
  for (const Case& c : cases) {
    db.Source.SetDataSet(&db.Table);
    nav.SetDataSource(&db.Source);
    db.Table.Open();
    db.Table.First();
    c.Setup(*this);
    EXPECT_EQ(EnabledButtons(nav), c.Expected) << c.Name;
  }
}

TEST_F(NavigatorTest, StartsDisabledAndFollowsOpening) {
  TwwDBNavigator fresh{"wwDBNav2", screen};
  EXPECT_EQ(EnabledButtons(fresh), "0000000");
  db.Table.Close();
  fresh.SetDataSource(&db.Source);
  EXPECT_EQ(EnabledButtons(fresh), "0000000");
  int changes = 0;
  fresh.Changed.Connect([&] { ++changes; });
  db.Table.Open();
  EXPECT_EQ(EnabledButtons(fresh), "0001111");
  EXPECT_EQ(changes, 1);
}

TEST_F(NavigatorTest, OneRecordAllowsOnlyDeleteAndNoneAllowsNothing) {
  struct Case {
    int Rows;
    const char* Expected;
  };
  for (const Case c : {Case{1, "0000001"}, Case{0, "0000000"}}) {
    TMemberTable table(c.Rows);
    TwwDBNavigator own{"wwDBNav2", screen};
    own.SetDataSource(&table.Source);
    EXPECT_EQ(EnabledButtons(own), c.Expected) << c.Rows << " record(s)";
  }
}

TEST_F(NavigatorTest, ReadOnlyDataSetCannotDelete) {
  dbengine::TADOQuery query;
  query.Connection = &db.Connection;
  query.SQL.Add("SELECT 이름 FROM addr_rec ORDER BY GID");
  query.Open();
  db.Source.SetDataSet(&query);
  EXPECT_EQ(EnabledButtons(nav), "0001110");
  db.Source.SetDataSet(&db.Table);
}

TEST_F(NavigatorTest, PendingNewRowCountsAsARecord) {
  db.Table.Last();
  db.Table.Insert();
  EXPECT_EQ(EnabledButtons(nav), "1111111");
}

class LongNavigatorTest : public NavigatorTest {
 protected:
  LongNavigatorTest() : NavigatorTest(25) {}
};

TEST_F(LongNavigatorTest, EachButtonMovesItsDistance) {
  struct Step {
    TNavigateBtn Button;
    int RecNoAfter;
  };
  const Step steps[] = {
      {TNavigateBtn::nbNextPage, 11}, {TNavigateBtn::nbNext, 12},
      {TNavigateBtn::nbNextPage, 22}, {TNavigateBtn::nbNextPage, 25},
      {TNavigateBtn::nbPrior, 24},    {TNavigateBtn::nbPriorPage, 14},
      {TNavigateBtn::nbPriorPage, 4}, {TNavigateBtn::nbPriorPage, 1},
      {TNavigateBtn::nbLast, 25},     {TNavigateBtn::nbFirst, 1},
  };
  for (const Step& step : steps) {
    nav.BtnClick(step.Button);
    EXPECT_EQ(db.Table.RecNo(), step.RecNoAfter)
        << "after button " << static_cast<int>(step.Button);
  }
}

TEST_F(LongNavigatorTest, DisabledButtonsDoNothing) {
  nav.BtnClick(TNavigateBtn::nbPrior);
  nav.BtnClick(TNavigateBtn::nbPriorPage);
  EXPECT_EQ(db.Table.RecNo(), 1);
  db.Table.Close();
  nav.BtnClick(TNavigateBtn::nbNext);
  nav.BtnClick(TNavigateBtn::nbDelete);  // no question: the script would fail
  EXPECT_FALSE(db.Table.Active());
}

TEST_F(NavigatorTest, DeleteAsksAndDeletesOnlyOnOk) {
  db.Table.SetRecNo(2);
  screen.ExpectMessageBox(kDeleteRecordPrompt, kDeleteRecordTitle, TMsgButtons::OkCancel,
                          TMsgIcon::Warning, mrCancel);
  nav.BtnClick(TNavigateBtn::nbDelete);
  screen.VerifyAllMet();
  EXPECT_EQ(db.StoredCount(), 5);

  screen.ExpectMessageBox(kDeleteRecordPrompt, kDeleteRecordTitle, TMsgButtons::OkCancel,
                          TMsgIcon::Warning, mrOk);
  nav.BtnClick(TNavigateBtn::nbDelete);
  EXPECT_EQ(db.StoredCount(), 4);
  EXPECT_EQ(db.Stored(2, "이름"), "<none>");
}

}  // namespace
}  // namespace ui
