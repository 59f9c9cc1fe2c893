#include "dbengine/dataset.h"

#include <gtest/gtest.h>

#include <functional>

#include "dbengine/errors.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "dbengine/tests/test_database.h"

namespace dbengine {
namespace {

// Three people; GID puts 나 first, and 가 and 다 tie, so they keep their insertion order.
class DataSetTest : public ::testing::Test {
 protected:
  DataSetTest()
      : db({"CREATE TABLE addr_rec (ID Counter Primary Key,GID LONG,이름 TEXT(32),선택 YesNo)",
            "INSERT INTO addr_rec (GID,이름,선택) VALUES (2,'가',1),(1,'나',0),(2,'다',NULL)"}) {
    table.Connection = &db.conn;
    table.TableName = "addr_rec";
    table.IndexFieldNames = "GID";
    table.Open();
  }

  std::string Name() { return table.FieldByName("이름").AsString(); }
  // The names in list order, read the way a grid reads them.
  std::string Names() {
    std::string names;
    for (int i = 0; i < table.RecordCount(); ++i)
      names += table.CellText(i, 2) + (i + 1 < table.RecordCount() ? "," : "");
    return names;
  }
  std::string Stored(const std::string& where) {
    return db.Scalar("SELECT count(*) FROM addr_rec WHERE " + where);
  }
  void GoTo(const std::string& name) {
    for (table.First(); !table.Eof(); table.Next())
      if (Name() == name) return;
    FAIL() << name << " not found";
  }

  testing::DatabaseFixture db;
  TADOTable table;
};

TEST_F(DataSetTest, OpensSortedByTheIndexFieldWithTiesInInsertionOrder) {
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(Names(), "나,가,다");
  EXPECT_EQ(table.RecNo(), 1);
  EXPECT_TRUE(table.Bof());
  EXPECT_FALSE(table.Eof());
}

TEST_F(DataSetTest, MovesAndReportsTheEnds) {
  struct Step {
    const char* label;
    std::function<void()> move;
    int recNo;
    bool bof;
    bool eof;
  } steps[] = {
      {"Next", [&] { table.Next(); }, 2, false, false},
      {"Next", [&] { table.Next(); }, 3, false, false},
      {"Next past the end", [&] { table.Next(); }, 3, false, true},
      {"Prior", [&] { table.Prior(); }, 2, false, false},
      {"First", [&] { table.First(); }, 1, true, false},
      {"Prior before the start", [&] { table.Prior(); }, 1, true, false},
      {"Last", [&] { table.Last(); }, 3, false, true},
      {"MoveBy -10", [&] { EXPECT_EQ(table.MoveBy(-10), -2); }, 1, true, false},
      {"MoveBy 10", [&] { EXPECT_EQ(table.MoveBy(10), 2); }, 3, false, true},
      {"SetRecNo 2", [&] { table.SetRecNo(2); }, 2, false, false},
  };
  for (const Step& step : steps) {
    step.move();
    EXPECT_EQ(table.RecNo(), step.recNo) << step.label;
    EXPECT_EQ(table.Bof(), step.bof) << step.label;
    EXPECT_EQ(table.Eof(), step.eof) << step.label;
  }
}

TEST_F(DataSetTest, InsertShowsTheNewRowAtOnceBeforeTheCurrentOne) {
  table.Next();  // 가
  table.Insert();
  EXPECT_EQ(table.State(), dsInsert);
  EXPECT_EQ(table.RecordCount(), 4);
  EXPECT_EQ(table.RecNo(), 2);
  table.FieldByName("이름").SetAsString("새");
  EXPECT_TRUE(table.Modified());
  EXPECT_EQ(Names(), "나,새,가,다");
  EXPECT_TRUE(table.CellIsNull(1, 3));
  EXPECT_EQ(table.RecNo(), 2);
  EXPECT_EQ(Stored("이름='새'"), "0");
}

TEST_F(DataSetTest, MovingOffAModifiedNewRowPostsIt) {
  table.Insert();
  table.FieldByName("이름").SetAsString("새");
  table.FieldByName("선택").SetAsBoolean(true);
  table.Next();
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(Name(), "나");
  EXPECT_EQ(Names(), "새,나,가,다");
  EXPECT_EQ(Stored("이름='새' AND 선택=1"), "1");
  table.First();
  EXPECT_EQ(table.FieldByName("ID").AsString(), "4");
}

TEST_F(DataSetTest, MovingOffAnUntouchedNewRowDropsIt) {
  for (auto move : {&TDataSet::First, &TDataSet::Next, &TDataSet::Prior, &TDataSet::Last}) {
    table.SetRecNo(2);
    table.Insert();
    (table.*move)();
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(Names(), "나,가,다");
  }
  EXPECT_EQ(Stored("1"), "3");
}

TEST_F(DataSetTest, InsertPostsAPendingModifiedRowFirst) {
  table.Insert();
  table.FieldByName("이름").SetAsString("첫째");
  table.Insert();
  EXPECT_EQ(Stored("이름='첫째'"), "1");
  table.FieldByName("이름").SetAsString("둘째");
  EXPECT_EQ(Names(), "둘째,첫째,나,가,다");
  table.Insert();  // 둘째 stored too; this third one is untouched
  table.Refresh();
  EXPECT_EQ(Stored("이름 IN ('첫째','둘째')"), "2");
  EXPECT_EQ(table.RecordCount(), 5);
}

TEST_F(DataSetTest, EditPostAndCancel) {
  GoTo("가");
  table.Edit();
  EXPECT_EQ(table.State(), dsEdit);
  table.FieldByName("이름").SetAsString("고침");
  EXPECT_EQ(table.CellText(1, 2), "고침");
  table.Cancel();
  EXPECT_EQ(Name(), "가");
  EXPECT_FALSE(table.Modified());

  table.Edit();
  table.FieldByName("이름").SetAsString("고침");
  table.Post();
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(Name(), "고침");
  EXPECT_EQ(Stored("이름='고침' AND GID=2"), "1");
  EXPECT_EQ(table.RecNo(), 2);
}

TEST_F(DataSetTest, SettingAFieldNeedsEditOrInsertMode) {
  EXPECT_THROW(table.FieldByName("이름").SetAsString("x"), EDatabaseError);
  table.Edit();
  EXPECT_THROW(table.FieldByName("ID").SetAsString("99"), EDatabaseError);
  table.Cancel();
  EXPECT_THROW(table.Post(), EDatabaseError) << "posting while browsing";
}

TEST_F(DataSetTest, EditOnAnEmptyTableStartsANewRow) {
  db.conn.Execute("DELETE FROM addr_rec");
  table.Refresh();
  EXPECT_TRUE(table.IsEmpty());
  table.Edit();
  EXPECT_EQ(table.State(), dsInsert);
  table.FieldByName("이름").SetAsString("홀로");
  table.Post();
  EXPECT_EQ(Stored("이름='홀로' AND 선택 IS NULL"), "1");
}

TEST_F(DataSetTest, RefreshRereadsAndKeepsTheCurrentRecord) {
  GoTo("가");
  db.conn.Execute("INSERT INTO addr_rec (GID,이름) VALUES (0,'영')");
  db.conn.Execute("UPDATE addr_rec SET 선택=1 WHERE 이름='다'");
  table.Refresh();
  EXPECT_EQ(Names(), "영,나,가,다");
  EXPECT_EQ(Name(), "가");
  EXPECT_EQ(table.RecNo(), 3);
  EXPECT_EQ(table.CellText(3, 3), "True");

  // The current record went away: the position stays where it was.
  db.conn.Execute("DELETE FROM addr_rec WHERE 이름='가'");
  table.Refresh();
  EXPECT_EQ(table.RecNo(), 3);
  EXPECT_EQ(Name(), "다");
}

TEST_F(DataSetTest, RefreshSeesWhatAnotherConnectionCommittedAndKeepsRowsWhenNothingChanged) {
  table.Refresh();  // nothing changed: the same rows, the same current record
  EXPECT_EQ(Names(), "나,가,다");
  EXPECT_EQ(Name(), "나");

  TADOConnection other;
  other.ConnectionString = db.conn.ConnectionString;
  other.Open();
  other.Execute("UPDATE addr_rec SET 이름='바뀜' WHERE 이름='다'");
  table.Refresh();
  EXPECT_EQ(Names(), "나,가,바뀜");
  other.Execute("INSERT INTO addr_rec (GID,이름) VALUES (3,'끝')");
  table.Refresh();
  EXPECT_EQ(Names(), "나,가,바뀜,끝");
}

TEST_F(DataSetTest, RefreshPostsAModifiedRowAndDropsAnUntouchedOne) {
  table.Insert();
  table.Refresh();
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(table.State(), dsBrowse);
  GoTo("다");
  table.Edit();
  table.FieldByName("선택").SetAsBoolean(true);
  table.Refresh();
  EXPECT_EQ(Stored("이름='다' AND 선택=1"), "1");
  EXPECT_EQ(Name(), "다");
}

TEST_F(DataSetTest, BookmarksReturnToTheirRow) {
  GoTo("가");
  TBookmark mark = table.GetBookmark();
  EXPECT_TRUE(table.BookmarkValid(mark));
  table.First();
  table.GotoBookmark(mark);
  EXPECT_EQ(Name(), "가");

  // Still the same row after a re-read that moved it.
  db.conn.Execute("INSERT INTO addr_rec (GID,이름) VALUES (0,'영')");
  table.Refresh();
  table.First();
  table.GotoBookmark(mark);
  EXPECT_EQ(Name(), "가");
  EXPECT_EQ(table.RecNo(), 3);

  table.FreeBookmark(mark);
  EXPECT_TRUE(mark.Empty());
  EXPECT_FALSE(table.BookmarkValid(mark));
}

TEST_F(DataSetTest, ABookmarkOnANewRowFindsItOnceStored) {
  // What the spreadsheet export does: remember, walk from the first record, come back.
  table.SetRecNo(2);
  table.Insert();
  table.FieldByName("이름").SetAsString("새");
  const TBookmark mark = table.GetBookmark();
  table.First();
  for (int i = table.RecordCount(); i > 0; --i) table.Next();
  table.GotoBookmark(mark);
  EXPECT_EQ(Name(), "새");
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(Stored("이름='새'"), "1");
}

TEST_F(DataSetTest, ABookmarkOfADeletedRowIsInvalid) {
  GoTo("다");
  const TBookmark mark = table.GetBookmark();
  table.Delete();
  EXPECT_FALSE(table.BookmarkValid(mark));
  EXPECT_THROW(table.GotoBookmark(mark), EDatabaseError);
}

TEST_F(DataSetTest, DeleteRemovesTheRowFromFileAndList) {
  GoTo("가");
  table.Delete();
  EXPECT_EQ(Names(), "나,다");
  EXPECT_EQ(Name(), "다");
  EXPECT_EQ(Stored("이름='가'"), "0");
  table.Delete();  // the last row: the new last becomes current
  EXPECT_EQ(Name(), "나");
  table.Delete();
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(table.Eof() && table.Bof());
  EXPECT_EQ(table.RecNo(), 0);
  EXPECT_THROW(table.Delete(), EDatabaseError);
  EXPECT_EQ(Stored("1"), "0");
}

TEST_F(DataSetTest, DeleteOnAPendingNewRowOnlyDropsIt) {
  table.Insert();
  table.FieldByName("이름").SetAsString("새");
  table.Delete();
  EXPECT_EQ(Names(), "나,가,다");
  EXPECT_EQ(Stored("1"), "3");
}

TEST_F(DataSetTest, SortReordersTheOpenTableAndKeepsTheCurrentRecord) {
  GoTo("가");
  table.SetSort("이름 DESC");
  EXPECT_EQ(table.Sort(), "이름 DESC");
  EXPECT_EQ(Names(), "다,나,가");
  EXPECT_EQ(Name(), "가");
  table.SetSort("GID ASC");
  EXPECT_EQ(Names(), "나,가,다");
  // A re-read keeps the sort.
  table.SetSort("이름 DESC");
  table.Refresh();
  EXPECT_EQ(Names(), "다,나,가");
  // The sort is the table's until changed, so it holds when the table opens again.
  table.Close();
  table.Open();
  EXPECT_EQ(Names(), "다,나,가");
  table.SetSort("");
  EXPECT_EQ(Names(), "나,가,다");
  EXPECT_THROW(table.SetSort("없는필드 ASC"), EDatabaseError);
  EXPECT_EQ(table.Sort(), "");
}

TEST_F(DataSetTest, AnIndexFieldThatIsNotThereFailsTheOpen) {
  TADOTable other;
  other.Connection = &db.conn;
  other.TableName = "addr_rec";
  other.IndexFieldNames = "없는필드";
  EXPECT_THROW(other.Open(), EDatabaseError);
  EXPECT_FALSE(other.Active());
  other.IndexFieldNames = "GID;이름";
  other.Open();
  other.Last();
  EXPECT_EQ(other.FieldByName("이름").AsString(), "다");
}

TEST_F(DataSetTest, ClosedDataSetOperationsFailWithTheClosedMessage) {
  table.Close();
  EXPECT_EQ(table.State(), dsInactive);
  const std::pair<const char*, std::function<void()>> operations[] = {
      {"Refresh", [&] { table.Refresh(); }},
      {"First", [&] { table.First(); }},
      {"Insert", [&] { table.Insert(); }},
      {"SetSort", [&] { table.SetSort("GID ASC"); }},
      {"Next", [&] { table.Next(); }},
      {"Last", [&] { table.Last(); }},
      {"Edit", [&] { table.Edit(); }},
      {"Post", [&] { table.Post(); }},
      {"Delete", [&] { table.Delete(); }},
      {"RecordCount", [&] { (void)table.RecordCount(); }},
      {"FieldByName", [&] { (void)table.FieldByName("이름"); }},
      {"GetBookmark", [&] { (void)table.GetBookmark(); }},
  };
  for (const auto& [name, operation] : operations) {
    try {
      operation();
      ADD_FAILURE() << name << " did not fail";
    } catch (const EDatabaseError& error) {
      EXPECT_STREQ(error.what(), "Cannot perform this operation on a closed dataset") << name;
    }
  }
}

TEST_F(DataSetTest, QueriesRefuseEdits) {
  TADOQuery query;
  query.Connection = &db.conn;
  query.SQL.Add("SELECT * FROM addr_rec");
  query.Open();
  EXPECT_FALSE(query.CanModify());
  for (auto edit : {&TDataSet::Insert, &TDataSet::Edit, &TDataSet::Delete}) {
    try {
      (query.*edit)();
      ADD_FAILURE() << "a query accepted an edit";
    } catch (const EDatabaseError& error) {
      EXPECT_NE(std::string(error.what()).find("read-only"), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(query.RecordCount(), 3);
}

TEST_F(DataSetTest, AQuerySeesRowsPostedThroughTheSameConnection) {
  table.Insert();
  table.FieldByName("이름").SetAsString("새");
  table.FieldByName("선택").SetAsBoolean(true);
  table.Post();
  TADOQuery query;
  query.Connection = &db.conn;
  query.SQL.Add("SELECT 이름 FROM addr_rec WHERE 선택=TRUE ORDER BY 이름");
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);
  EXPECT_EQ(query.Fields(0).AsString(), "가");
  query.Next();
  EXPECT_EQ(query.Fields(0).AsString(), "새");
}

TEST_F(DataSetTest, AForwardOnlyQueryStreamsAndCanStartOver) {
  TADOQuery query;
  query.Connection = &db.conn;
  query.CursorType = ctOpenForwardOnly;
  query.LockType = ltReadOnly;
  query.SQL.Add("SELECT 이름 FROM addr_rec ORDER BY ID");
  query.Open();
  EXPECT_EQ(query.RecordCount(), -1);
  std::string names;
  for (; !query.Eof(); query.Next()) names += query.Fields(0).AsString();
  EXPECT_EQ(names, "가나다");
  EXPECT_EQ(query.RecNo(), 3);
  EXPECT_THROW(query.Prior(), EDatabaseError);
  EXPECT_THROW(query.GetBookmark(), EDatabaseError);
  query.First();
  EXPECT_EQ(query.Fields(0).AsString(), "가");
  EXPECT_EQ(query.RecNo(), 1);
  EXPECT_FALSE(query.Eof());
  EXPECT_EQ(query.CellText(0, 0), "가");
  EXPECT_THROW(query.CellText(1, 0), EDatabaseError);
}

TEST_F(DataSetTest, OpeningAMissingTableFailsAndLeavesItClosed) {
  TADOTable missing;
  missing.Connection = &db.conn;
  missing.TableName = "nowhere";
  EXPECT_THROW(missing.Open(), EDatabaseError);
  EXPECT_FALSE(missing.Active());
  EXPECT_EQ(missing.FieldCount(), 0);
  TADOTable unbound;
  EXPECT_THROW(unbound.Open(), EDatabaseError);
}

}  // namespace
}  // namespace dbengine
