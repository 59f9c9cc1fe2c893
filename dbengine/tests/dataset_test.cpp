#include "dbengine/dataset.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dbengine/errors.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "dbengine/tests/test_database.h"

namespace dbengine {
namespace {

// Five people. GID puts 라 (no group) first; 가 and 다 tie, so they keep their insertion order.
// In index order: 라 나 가 다 마.
constexpr const char* kCreate =
    "CREATE TABLE addr_rec (ID Counter Primary Key,GID LONG,이름 TEXT(32),선택 YesNo)";
constexpr const char* kFill =
    "INSERT INTO addr_rec (GID,이름,선택) VALUES "
    "(2,'가',1),(1,'나',0),(2,'다',NULL),(NULL,'라',0),(3,'마',1)";
constexpr int kName = 2;
constexpr int kTick = 3;

// The address table on either cursor, reading two rows at a time so that every case crosses
// pages. A case is a list of steps; each step may add a word to the trace, and the first error
// ends the case with "!" and its message.
struct TScenario {
  explicit TScenario(TCursorType cursorType) : db({kCreate, kFill}) {
    table.Connection = &db.conn;
    table.TableName = "addr_rec";
    table.IndexFieldNames = "GID";
    table.CursorType = cursorType;
    table.CacheSize = 2;
    table.Open();
  }

  std::string Name() { return table.FieldByName("이름").AsString(); }

  testing::DatabaseFixture db;
  TADOTable table;
  TBookmark mark;
};

using TStep = std::function<std::string(TScenario&)>;

struct TCase {
  const char* Name;
  std::vector<TStep> Steps;
  const char* Static;       // the trace on a static cursor
  const char* ForwardOnly;  // the trace on a forward-only cursor
};

std::string Shown(const std::string& text) {
  return text.empty() ? "·" : text;
}

// ---- steps ----

TStep Do(std::function<void(TADOTable&)> action) {
  return [action](TScenario& s) {
    action(s.table);
    return std::string();
  };
}

// "[1라": the record number and name, '[' at the beginning, ']' at the end of the rows.
const TStep At = [](TScenario& s) {
  std::string at = s.table.Bof() ? "[" : "";
  at += std::to_string(s.table.RecNo()) + Shown(s.table.IsEmpty() ? "" : s.Name());
  return at + (s.table.Eof() ? "]" : "");
};
const TStep Count = [](TScenario& s) { return "n" + std::to_string(s.table.RecordCount()); };
// Every name from the first record to the end, the way the exports walk.
const TStep Walk = [](TScenario& s) {
  std::string names;
  for (s.table.First(); !s.table.Eof(); s.table.Next()) names += s.Name();
  return Shown(names);
};
// Every name in list order, read without moving, the way a grid paints.
const TStep Grid = [](TScenario& s) {
  std::string names;
  for (int i = 0; i < s.table.RecordCount(); ++i) names += Shown(s.table.CellText(i, kName));
  return Shown(names);
};
const TStep State = [](TScenario& s) {
  const char* names[] = {"inactive", "browse", "edit", "insert"};
  return std::string(names[s.table.State()]);
};
const TStep Next = Do([](TADOTable& t) { t.Next(); });
const TStep First = Do([](TADOTable& t) { t.First(); });

TStep MoveBy(int distance) {
  return [distance](TScenario& s) { return "m" + std::to_string(s.table.MoveBy(distance)); };
}
TStep SetName(const std::string& name) {
  return Do([name](TADOTable& t) { t.FieldByName("이름").SetAsString(name); });
}
// How many stored rows meet the condition, read over a connection of its own.
TStep Stored(const std::string& where) {
  return [where](TScenario& s) {
    return "s" + s.db.Scalar("SELECT count(*) FROM addr_rec WHERE " + where);
  };
}
TStep Other(std::vector<std::string> statements) {
  return [statements](TScenario& s) {
    testing::ChangeFromAnotherProcess(s.db.Path(), statements);
    return std::string();
  };
}
TStep Filter(const std::string& condition, TParameters parameters = {}) {
  return Do([condition, parameters](TADOTable& t) { t.SetFilter(condition, parameters); });
}
TStep Sort(const std::string& sort) {
  return Do([sort](TADOTable& t) { t.SetSort(sort); });
}
const TStep Mark = [](TScenario& s) {
  s.mark = s.table.GetBookmark();
  return std::string(s.table.BookmarkValid(s.mark) ? "valid" : "invalid");
};
const TStep GoToMark = [](TScenario& s) {
  s.table.GotoBookmark(s.mark);
  return std::string();
};
TStep CellAt(int record) {
  return [record](TScenario& s) { return Shown(s.table.CellText(record, kName)); };
}

const char* const kReadOnly = "!Cannot modify a read-only dataset";

const TCase kCases[] = {
    {"OpensInIndexOrderWithTiesInInsertionOrder",
     {At, Count, Walk, At},
     "[1라 n5 라나가다마 5마]",
     "[1라 n-1 라나가다마 5마]"},
    {"WalksForwardAndStartsOver",
     {Next, At, MoveBy(2), At, MoveBy(10), At, First, At},
     "2나 m2 4다 m1 5마] [1라",
     "2나 m2 4다 m1 5마] [1라"},
    {"JumpsToEitherEndAndBack",
     {Do([](TADOTable& t) { t.Last(); }), At, Do([](TADOTable& t) { t.Prior(); }), At, MoveBy(-10),
      At, Do([](TADOTable& t) { t.SetRecNo(3); }), At},
     "5마] 4다 m-3 [1라 3가",
     "!Moving to the last record is not possible on a forward-only dataset"},
    {"ReadsAnyRowWithoutMoving",
     {Grid, At,
      [](TScenario& s) { return std::string(s.table.CellIsNull(3, kTick) ? "null" : "value"); },
      CellAt(0), CellAt(1)},
     "라나가다마 [1라 null 라 나",
     "· [1라 null 라 !No cell at record 1, field 2"},
    // A forward-only stream holds the file's read lock until it is done, so the other process
    // writes once the walk is over.
    {"RefreshShowsWhatAnotherProcessStored",
     {Walk,
      Other({"INSERT INTO addr_rec (GID,이름) VALUES (0,'영')",
             "UPDATE addr_rec SET 이름='바뀜' WHERE 이름='다'",
             "DELETE FROM addr_rec WHERE 이름='라'"}),
      Do([](TADOTable& t) { t.Refresh(); }), At, Count, Walk},
     "라나가다마 5마 n5 영나가바뀜마",
     "라나가다마 [1영 n-1 영나가바뀜마"},
    {"RefreshKeepsThePositionWhenTheCurrentRecordWentAway",
     {Walk, Other({"DELETE FROM addr_rec WHERE 이름='마'"}), Do([](TADOTable& t) { t.Refresh(); }),
      At, Walk},
     "라나가다마 4다 라나가다",
     "라나가다마 [1라 라나가다"},
    {"RefreshWithNothingChangedKeepsThePlace",
     {Next, Do([](TADOTable& t) { t.Refresh(); }), At},
     "2나",
     "[1라"},
    {"SortsByAnyColumnEitherWayAndBack",
     {Next, Sort("이름 DESC"), At, Walk, Sort("[이름]"), Walk, Sort("GID ASC"), Walk, Sort(""),
      Walk, Sort("없는필드 ASC")},
     "4나 마라다나가 가나다라마 라나가다마 라나가다마 !Field '없는필드' not found",
     "[1마 마라다나가 가나다라마 라나가다마 라나가다마 !Field '없는필드' not found"},
    {"FiltersWithValuesTakenAsTheyAre",
     {Do([](TADOTable& t) {
        t.Connection->Execute("INSERT INTO addr_rec (GID,이름) VALUES (4,'O''Neil'),(4,'x%y')");
        t.Refresh();
      }),
      Filter("GID = :g", {{"g", 2}}), At, Count, Walk, Filter("이름 LIKE :t", {{"t", "%'%"}}), Walk,
      Filter("이름 = :t", {{"t", "가' OR '1'='1"}}), Count, Walk, Filter(""), Walk,
      Filter("GID = :missing")},
     "[1가 n2 가다 O'Neil n0 · 라나가다마O'Neilx%y !Parameter 'missing' has no value",
     "[1가 n-1 가다 O'Neil n-1 · 라나가다마O'Neilx%y !Parameter 'missing' has no value"},
    {"BookmarksReturnToTheirRowAcrossReReads",
     {Next, Next, Mark, First, GoToMark, At,
      Other({"INSERT INTO addr_rec (GID,이름) VALUES (0,'영')"}),
      Do([](TADOTable& t) { t.Refresh(); }), First, GoToMark, At,
      Other({"DELETE FROM addr_rec WHERE 이름='가'"}), Do([](TADOTable& t) { t.Refresh(); }),
      [](TScenario& s) { return std::string(s.table.BookmarkValid(s.mark) ? "valid" : "invalid"); },
      GoToMark},
     "valid 3가 4가 invalid !Record not found",
     "!A bookmark is not possible on a forward-only dataset"},
    {"ABookmarkOnANewRowFindsItOnceStored",
     // What the spreadsheet export does: remember, walk from the first record, come back.
     {Next, Do([](TADOTable& t) { t.Insert(); }), SetName("새"), Mark, First, MoveBy(10), GoToMark,
      At, State, Stored("이름='새'")},
     "valid m5 2새 browse s1",
     kReadOnly},
    {"InsertShowsTheNewRowAtOnceBeforeTheCurrentOne",
     {Next, Next, Do([](TADOTable& t) { t.Insert(); }), State, Count, At, SetName("새"),
      [](TScenario& s) { return std::string(s.table.Modified() ? "modified" : "untouched"); }, Grid,
      [](TScenario& s) { return std::string(s.table.CellIsNull(2, kTick) ? "null" : "value"); }, At,
      Stored("이름='새'")},
     "insert n6 3· modified 라나새가다마 null 3새 s0",
     kReadOnly},
    {"MovingOffAModifiedNewRowPostsIt",
     {Do([](TADOTable& t) {
        t.Insert();
        t.FieldByName("선택").SetAsBoolean(true);
      }),
      SetName("새"), Next, At, State, Grid, Stored("이름='새' AND 선택=1"), First,
      [](TScenario& s) { return "id" + s.table.FieldByName("ID").AsString(); }},
     "2라 browse 새라나가다마 s1 id6",
     kReadOnly},
    {"MovingOffAnUntouchedNewRowDropsIt",
     {Do([](TADOTable& t) {
        for (auto move : {&TDataSet::First, &TDataSet::Next, &TDataSet::Prior, &TDataSet::Last}) {
          t.SetRecNo(2);
          t.Insert();
          (t.*move)();
        }
      }),
      State, Grid, Stored("1")},
     "browse 라나가다마 s5",
     "!Moving to a record number is not possible on a forward-only dataset"},
    {"InsertPostsAPendingModifiedRowFirst",
     {Do([](TADOTable& t) { t.Insert(); }), SetName("첫째"), Do([](TADOTable& t) { t.Insert(); }),
      Stored("이름='첫째'"), SetName("둘째"), Grid,
      // 둘째 is stored too; this third one is untouched and goes with the refresh.
      Do([](TADOTable& t) {
        t.Insert();
        t.Refresh();
      }),
      Stored("이름 IN ('첫째','둘째')"), Count},
     "s1 둘째첫째라나가다마 s2 n7",
     kReadOnly},
    {"EditIsPendingUntilPostedAndCancelBringsBackTheStoredValues",
     {Do([](TADOTable& t) { t.Last(); }), Do([](TADOTable& t) { t.Edit(); }), State,
      SetName("고침"), Grid, Stored("이름='고침'"), Do([](TADOTable& t) { t.Cancel(); }), At,
      [](TScenario& s) { return std::string(s.table.Modified() ? "modified" : "untouched"); },
      Do([](TADOTable& t) { t.Edit(); }), SetName("고침"), Do([](TADOTable& t) { t.Post(); }),
      State, At, Stored("이름='고침' AND GID=3")},
     "edit 라나가다고침 s0 5마] untouched browse 5고침] s1",
     "!Moving to the last record is not possible on a forward-only dataset"},
    {"SettingAFieldNeedsEditOrInsertMode",
     {SetName("x")},
     "!Dataset not in edit or insert mode",
     "!Dataset not in edit or insert mode"},
    {"PostingWhileBrowsingFails",
     {Do([](TADOTable& t) { t.Post(); })},
     "!Dataset not in edit or insert mode",
     "!Dataset not in edit or insert mode"},
    {"AnAutoNumberCannotBeSet",
     {Do([](TADOTable& t) {
       t.Edit();
       t.FieldByName("ID").SetAsString("99");
     })},
     "!Field 'ID' cannot be modified",
     kReadOnly},
    {"EditOnAnEmptyListStartsANewRow",
     {Walk, Other({"DELETE FROM addr_rec"}), Do([](TADOTable& t) { t.Refresh(); }), At,
      Do([](TADOTable& t) { t.Edit(); }), State, SetName("홀로"),
      Do([](TADOTable& t) { t.Post(); }), Stored("이름='홀로' AND 선택 IS NULL")},
     "라나가다마 [0·] insert s1",
     "라나가다마 [0·] !Cannot modify a read-only dataset"},
    {"RefreshStoresAModifiedRowAndDropsAnUntouchedOne",
     {Do([](TADOTable& t) { t.Insert(); }), Do([](TADOTable& t) { t.Refresh(); }), Count, State,
      Do([](TADOTable& t) { t.SetRecNo(4); }), Do([](TADOTable& t) { t.Edit(); }),
      Do([](TADOTable& t) { t.FieldByName("선택").SetAsBoolean(true); }),
      Do([](TADOTable& t) { t.Refresh(); }), Stored("이름='다' AND 선택=1"), At},
     "n5 browse s1 4다",
     kReadOnly},
    {"DeleteRemovesTheRowFromFileAndList",
     {Next, Next, Do([](TADOTable& t) { t.Delete(); }), Grid, At, Stored("이름='가'"),
      Do([](TADOTable& t) { t.Last(); }), Do([](TADOTable& t) { t.Delete(); }), At,
      Do([](TADOTable& t) {
        for (int i = 0; i < 3; ++i) t.Delete();
      }),
      At, Stored("1"), Do([](TADOTable& t) { t.Delete(); })},
     "라나다마 3다 s0 3다 [0·] s0 !Cannot perform this operation on an empty dataset",
     kReadOnly},
    {"DeleteOnAPendingNewRowOnlyDropsIt",
     {Do([](TADOTable& t) { t.Insert(); }), SetName("새"), Do([](TADOTable& t) { t.Delete(); }),
      Grid, Stored("1")},
     "라나가다마 s5",
     kReadOnly},
};

struct TKind {
  const char* Name;
  TCursorType Type;
};

const TKind kKinds[] = {{"Static", ctStatic}, {"ForwardOnly", ctOpenForwardOnly}};

void PrintTo(const TKind& kind, std::ostream* out) {
  *out << kind.Name;
}
void PrintTo(const TCase& c, std::ostream* out) {
  *out << c.Name;
}

class Cursors : public ::testing::TestWithParam<std::tuple<TKind, TCase>> {};

TEST_P(Cursors, BehaveAsTheCaseSays) {
  const auto& [kind, c] = GetParam();
  TScenario scenario(kind.Type);
  std::string trace;
  for (const TStep& step : c.Steps) {
    try {
      const std::string word = step(scenario);
      if (!word.empty()) trace += (trace.empty() ? "" : " ") + word;
    } catch (const std::exception& error) {
      trace += (trace.empty() ? "!" : " !") + std::string(error.what());
      break;
    }
  }
  EXPECT_EQ(trace, kind.Type == ctStatic ? c.Static : c.ForwardOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cursors, ::testing::Combine(::testing::ValuesIn(kKinds), ::testing::ValuesIn(kCases)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).Name) + "_" + std::get<1>(info.param).Name;
    });

class ClosedDataSet : public ::testing::TestWithParam<TKind> {};

TEST_P(ClosedDataSet, OperationsFailWithTheClosedMessage) {
  TScenario s(GetParam().Type);
  TADOTable& table = s.table;
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
      {"CellText", [&] { (void)table.CellText(0, 0); }},
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

INSTANTIATE_TEST_SUITE_P(Kinds, ClosedDataSet, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.Name); });

// A sort and a filter belong to the table until changed: a re-read and a new open keep them.
TEST(TableOrder, SortAndFilterHoldUntilChanged) {
  TScenario s(ctStatic);
  TADOTable& table = s.table;
  table.SetSort("이름 DESC");
  EXPECT_EQ(table.Sort(), "이름 DESC");
  table.SetFilter("GID >= :g", {{"g", 2}});
  EXPECT_EQ(Grid(s), "마다가");
  s.db.conn.Execute("INSERT INTO addr_rec (GID,이름) VALUES (2,'바')");
  table.Refresh();
  EXPECT_EQ(Grid(s), "바마다가");
  table.Close();
  table.Open();
  EXPECT_EQ(Grid(s), "바마다가");
  EXPECT_THROW(table.SetSort("없는필드 ASC"), EDatabaseError);
  EXPECT_EQ(table.Sort(), "이름 DESC");
  EXPECT_THROW(table.SetFilter("없는필드 = 1"), EDatabaseError);
  EXPECT_EQ(table.Filter(), "GID >= :g");
  EXPECT_EQ(Grid(s), "바마다가");
  table.SetSort("");
  table.SetFilter("");
  EXPECT_EQ(Grid(s), "라나가다바마");
}

// Every way of reaching a row gives the row the order puts there, whatever the page size and
// whichever pages were read before: the grid from the top and from the bottom, a jump, a walk
// either way, a bookmark.
TEST(TablePages, EveryWayToARowAgrees) {
  testing::DatabaseFixture db({kCreate});
  for (int i = 0; i < 50; ++i)
    db.conn.Execute("INSERT INTO addr_rec (GID,이름) VALUES (" +
                    (i % 7 == 0 ? std::string("NULL") : std::to_string((i * 37) % 11)) + ",'r" +
                    std::to_string(i) + "')");
  TADOQuery ordered;
  ordered.Connection = &db.conn;
  ordered.SQL.Add("SELECT 이름 FROM addr_rec ORDER BY GID, ID");
  ordered.Open();
  std::vector<std::string> expected;
  for (; !ordered.Eof(); ordered.Next()) expected.push_back(ordered.Fields(0).AsString());
  ordered.Close();

  const auto open = [&db](int pageSize) {
    auto table = std::make_unique<TADOTable>();
    table->Connection = &db.conn;
    table->TableName = "addr_rec";
    table->IndexFieldNames = "GID";
    table->CacheSize = pageSize;
    table->Open();
    return table;
  };
  for (int pageSize : {1, 2, 3, 7, 64}) {
    SCOPED_TRACE("page size " + std::to_string(pageSize));
    std::unique_ptr<TADOTable> table = open(pageSize);
    ASSERT_EQ(table->RecordCount(), 50);
    for (int i = 49; i >= 0; --i) EXPECT_EQ(table->CellText(i, kName), expected[i]) << i;

    table = open(pageSize);
    for (int i : {49, 0, 25, 24, 13, 37, 48, 1}) {
      table->SetRecNo(i + 1);
      EXPECT_EQ(table->FieldByName("이름").AsString(), expected[i]) << i;
    }
    const TBookmark mark = table->GetBookmark();

    table = open(pageSize);
    int i = 0;
    for (table->First(); !table->Eof(); table->Next(), ++i)
      EXPECT_EQ(table->FieldByName("이름").AsString(), expected[i]) << i;
    EXPECT_EQ(i, 50);

    table = open(pageSize);
    i = 49;
    for (table->Last(); !table->Bof(); table->Prior(), --i)
      EXPECT_EQ(table->FieldByName("이름").AsString(), expected[i]) << i;
    EXPECT_EQ(i, -1);
    table->GotoBookmark(mark);
    EXPECT_EQ(table->RecNo(), 2);
  }
}

// A file that cannot take the order's index (read-only) shows the same rows in the same order,
// sorted as they are read.
TEST(TablePages, AFileWithoutTheOrderIndexShowsTheSameOrder) {
  testing::DatabaseFixture db({kCreate, kFill});
  TADOConnection readOnly;
  readOnly.ConnectionString = "Provider=Microsoft.Jet.OLEDB.4.0;Mode=Read;Data Source=" + db.Path();
  TADOTable table;
  table.Connection = &readOnly;
  table.TableName = "addr_rec";
  table.IndexFieldNames = "GID";
  table.CacheSize = 2;
  table.Open();
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM sqlite_master WHERE type='index'"), "0");
  table.Last();
  EXPECT_EQ(table.FieldByName("이름").AsString(), "마");
  std::string names;
  for (int i = 0; i < table.RecordCount(); ++i) names += table.CellText(i, kName);
  EXPECT_EQ(names, "라나가다마");
  EXPECT_FALSE(table.CanModify());
}

TEST(TablePages, OpeningWithAnIndexFieldMakesItsIndexOnce) {
  testing::DatabaseFixture db({kCreate, kFill});
  const std::string indexes = "SELECT group_concat(name) FROM sqlite_master WHERE type='index'";
  const std::string tableSql = "SELECT sql FROM sqlite_master WHERE name='addr_rec'";
  const std::string made = db.Scalar(tableSql);
  TADOTable table;
  table.Connection = &db.conn;
  table.TableName = "addr_rec";
  table.Open();
  EXPECT_EQ(db.Scalar(indexes), "") << "no index field, no index";
  table.Close();
  table.IndexFieldNames = "GID";
  table.Open();
  EXPECT_EQ(db.Scalar(indexes), "addr_rec_order_GID");
  table.Close();
  table.Open();
  EXPECT_EQ(db.Scalar(indexes), "addr_rec_order_GID");
  // The statement that made the table is as it was.
  EXPECT_EQ(db.Scalar(tableSql), made);
}

// An index of that name that gives another order (made by someone else) is left alone, and the
// rows still come in the table's order.
TEST(TablePages, AnIndexOfThatNameOnAnotherColumnLeavesTheOrderRight) {
  testing::DatabaseFixture db(
      {kCreate, kFill, "CREATE INDEX addr_rec_order_GID ON addr_rec (이름 DESC)"});
  TADOTable table;
  table.Connection = &db.conn;
  table.TableName = "addr_rec";
  table.IndexFieldNames = "GID";
  table.CacheSize = 2;
  table.Open();
  table.Last();
  EXPECT_EQ(table.FieldByName("이름").AsString(), "마");
  table.SetRecNo(3);
  EXPECT_EQ(table.FieldByName("이름").AsString(), "가");
}

// A row another process added before the list was read to its end shows once this dataset
// changes something: a change reads the rest of the list first, so it cannot shift what follows.
TEST(TablePages, AChangeReadsTheRestOfTheListFirst) {
  TScenario s(ctStatic);
  TADOTable& table = s.table;
  testing::ChangeFromAnotherProcess(s.db.Path(),
                                    {"INSERT INTO addr_rec (GID,이름) VALUES (0,'영')"});
  table.Next();
  table.Insert();
  table.FieldByName("이름").SetAsString("새");
  table.Post();
  EXPECT_EQ(Grid(s), "라새영나가다마");
  EXPECT_EQ(table.FieldByName("이름").AsString(), "새");
  EXPECT_EQ(table.RecNo(), 2);
  table.Last();
  table.Delete();
  EXPECT_EQ(s.db.Scalar("SELECT count(*) FROM addr_rec WHERE 이름='마'"), "0");
}

// The record that became current stays the one that was there, whatever another process stores
// before the list around it is read: a refresh finds it, and an edit changes it and no other.
TEST(TablePages, TheCurrentRecordIsTheOneMovedTo) {
  TScenario s(ctStatic);
  TADOTable& table = s.table;
  table.SetRecNo(3);  // 가, on a page not read at the open
  testing::ChangeFromAnotherProcess(s.db.Path(),
                                    {"INSERT INTO addr_rec (GID,이름) VALUES (0,'영')"});
  table.Edit();
  table.FieldByName("선택").SetAsBoolean(false);
  table.Post();
  EXPECT_EQ(s.db.Scalar("SELECT 이름 FROM addr_rec WHERE 선택=0 AND GID=2"), "가");
  table.Refresh();
  EXPECT_EQ(table.FieldByName("이름").AsString(), "가");
  EXPECT_EQ(table.RecNo(), 4);
}

// What a grid paints from rows it cannot read (the table went away under it) is empty rather
// than an error with no one to show it to; the next move says what happened.
TEST(TablePages, ARowThatCannotBeReadPaintsEmptyAndTheNextMoveSaysWhy) {
  TScenario s(ctStatic);
  TADOTable& table = s.table;
  testing::ChangeFromAnotherProcess(s.db.Path(), {"DROP TABLE addr_rec"});
  EXPECT_EQ(table.CellText(3, kName), "");
  EXPECT_TRUE(table.CellIsNull(3, kName));
  try {
    table.SetRecNo(4);
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("addr_rec"), std::string::npos) << error.what();
  }
  EXPECT_THROW((void)table.CellText(9, kName), EDatabaseError) << "no such record at all";
}

// ---- queries ----

class QueryTest : public ::testing::Test {
 protected:
  QueryTest() : db({kCreate, kFill}) {
    table.Connection = &db.conn;
    table.TableName = "addr_rec";
    table.IndexFieldNames = "GID";
    table.Open();
  }

  testing::DatabaseFixture db;
  TADOTable table;
};

TEST_F(QueryTest, AQueryRefusesEdits) {
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
  EXPECT_EQ(query.RecordCount(), 5);
}

TEST_F(QueryTest, AQuerySeesRowsPostedThroughTheSameConnection) {
  table.Insert();
  table.FieldByName("이름").SetAsString("새");
  table.FieldByName("선택").SetAsBoolean(true);
  table.Post();
  TADOQuery query;
  query.Connection = &db.conn;
  query.SQL.Add("SELECT 이름 FROM addr_rec WHERE 선택=TRUE ORDER BY 이름");
  query.Open();
  EXPECT_EQ(query.RecordCount(), 3);
  EXPECT_EQ(query.Fields(0).AsString(), "가");
  query.Last();
  EXPECT_EQ(query.Fields(0).AsString(), "새");
}

TEST_F(QueryTest, AForwardOnlyQueryStreamsAndCanStartOver) {
  TADOQuery query;
  query.Connection = &db.conn;
  query.CursorType = ctOpenForwardOnly;
  query.LockType = ltReadOnly;
  query.SQL.Add("SELECT 이름 FROM addr_rec ORDER BY ID");
  query.Open();
  EXPECT_EQ(query.RecordCount(), -1);
  std::string names;
  for (; !query.Eof(); query.Next()) names += query.Fields(0).AsString();
  EXPECT_EQ(names, "가나다라마");
  EXPECT_EQ(query.RecNo(), 5);
  EXPECT_THROW(query.Prior(), EDatabaseError);
  EXPECT_THROW(query.GetBookmark(), EDatabaseError);
  query.First();
  EXPECT_EQ(query.Fields(0).AsString(), "가");
  EXPECT_EQ(query.RecNo(), 1);
  EXPECT_FALSE(query.Eof());
  EXPECT_EQ(query.CellText(0, 0), "가");
  EXPECT_THROW(query.CellText(1, 0), EDatabaseError);
}

// A static query's rows have no rowid: it counts them by running its statement once and keeps
// the pages its cache holds; rows beyond are read by running it again. Page size 2 holds 128 rows.
TEST_F(QueryTest, AStaticQueryLargerThanItsCacheReadsEveryRowWhereverAsked) {
  TADOQuery query;
  query.Connection = &db.conn;
  query.CacheSize = 2;
  query.SQL.Add(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < :last) "
      "SELECT i, 'row ' || i FROM n ORDER BY i DESC");
  query.Parameters.ParamByName("last").Value = 300;
  query.Open();
  ASSERT_EQ(query.RecordCount(), 300);
  for (int record : {0, 299, 150, 151, 10, 298, 0})
    EXPECT_EQ(query.CellText(record, 0), std::to_string(300 - record)) << record;
  query.SetRecNo(200);
  const TBookmark mark = query.GetBookmark();
  long long sum = 0;
  int rows = 0;
  for (query.First(); !query.Eof(); query.Next(), ++rows)
    sum += std::stoll(query.Fields(0).AsString());
  EXPECT_EQ(rows, 300);
  EXPECT_EQ(sum, 300 * 301 / 2);
  query.GotoBookmark(mark);
  EXPECT_EQ(query.Fields(1).AsString(), "row 101");
  // A re-read after a change: positions may name other rows now, so old bookmarks do not hold.
  table.Insert();
  table.FieldByName("이름").SetAsString("새");
  table.Post();
  query.Refresh();
  EXPECT_FALSE(query.BookmarkValid(mark));
  EXPECT_EQ(query.RecordCount(), 300);
}

TEST(TableOpen, AnIndexFieldThatIsNotThereFailsTheOpen) {
  testing::DatabaseFixture db({kCreate, kFill});
  TADOTable other;
  other.Connection = &db.conn;
  other.TableName = "addr_rec";
  other.IndexFieldNames = "없는필드";
  EXPECT_THROW(other.Open(), EDatabaseError);
  EXPECT_FALSE(other.Active());
  other.IndexFieldNames = "GID;이름";
  other.Open();
  other.Last();
  EXPECT_EQ(other.FieldByName("이름").AsString(), "마");
}

TEST(TableOpen, OpeningAMissingTableFailsAndLeavesItClosed) {
  testing::DatabaseFixture db({kCreate});
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
