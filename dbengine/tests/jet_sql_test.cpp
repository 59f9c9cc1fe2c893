#include "dbengine/jet_sql.h"

#include <gtest/gtest.h>

#include "dbengine/errors.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "dbengine/tests/test_database.h"

namespace dbengine {
namespace {

TEST(JetSql, TranslatesTheDialect) {
  struct {
    const char* jet;
    const char* sqlite;
  } cases[] = {
      {"CREATE TABLE g (GID Counter Primary Key,그룹명 TEXT(32))",
       "CREATE TABLE g (GID INTEGER PRIMARY KEY AUTOINCREMENT,그룹명 TEXT(32))"},
      {"create table g (id counter, n LONG)",
       "create table g (id INTEGER PRIMARY KEY AUTOINCREMENT, n LONG)"},
      {"ALTER TABLE g ADD COLUMN n2 Counter",
       "ALTER TABLE g ADD COLUMN n2 INTEGER PRIMARY KEY AUTOINCREMENT"},
      {"SELECT a FROM t WHERE 선택=TRUE;", "SELECT a FROM t WHERE 선택=1"},
      {"SELECT a FROM t WHERE x=false ;  \n", "SELECT a FROM t WHERE x=0"},
      // Quoted text, names that are no type, and comments stay as written.
      {"SELECT 'TRUE;', \"Counter\" FROM t WHERE n like '%;%'",
       "SELECT 'TRUE;', \"Counter\" FROM t WHERE n like '%;%'"},
      {"CREATE TABLE counter (counter_id LONG)", "CREATE TABLE counter (counter_id LONG)"},
      {"SELECT counter /* TRUE */ FROM t -- TRUE\n", "SELECT counter /* TRUE */ FROM t"},
      {"SELECT 'it''s TRUE' FROM t", "SELECT 'it''s TRUE' FROM t"},
      // A placeholder is no word of the dialect, whatever its name.
      {"SELECT a FROM t WHERE x=:true AND y=TRUE AND z=:Counter;",
       "SELECT a FROM t WHERE x=:true AND y=1 AND z=:Counter"},
  };
  for (const auto& c : cases) EXPECT_EQ(TranslateJetSql(c.jet), c.sqlite) << c.jet;
}

struct Column {
  const char* name;
  TFieldType type;
  int size;
};

void ExpectColumns(TDataSet& dataSet, const std::vector<Column>& expected) {
  ASSERT_EQ(dataSet.FieldCount(), static_cast<int>(expected.size()));
  for (int i = 0; i < dataSet.FieldCount(); ++i) {
    const TField& field = dataSet.Fields(i);
    EXPECT_EQ(field.FieldName(), expected[i].name) << i;
    EXPECT_EQ(field.DataType(), expected[i].type) << expected[i].name;
    EXPECT_EQ(field.Size(), expected[i].size) << expected[i].name;
    EXPECT_EQ(field.Index(), i);
  }
}

// The address database's own statements are checked by the data module's tests; here each kind
// of column the dialect declares.
TEST(JetSql, EachDeclaredColumnKeepsItsKindAndSizeInOrder) {
  testing::DatabaseFixture db({});
  db.conn.BeginTrans();
  db.conn.Execute(
      "CREATE TABLE t (ID Counter Primary Key,GID LONG,SDATE DATETIME,선택 YesNo,이름 "
      "TEXT(32),우편번호 TEXT(7))");
  db.conn.CommitTrans();

  TADOTable table;
  table.Connection = &db.conn;
  table.TableName = "t";
  table.IndexFieldNames = "GID";
  table.Open();
  ExpectColumns(table, {{"ID", ftAutoInc, 0},
                        {"GID", ftInteger, 0},
                        {"SDATE", ftDateTime, 0},
                        {"선택", ftBoolean, 0},
                        {"이름", ftWideString, 32},
                        {"우편번호", ftWideString, 7}});
  EXPECT_TRUE(table.IsEmpty());

  // The counter numbers new rows itself; each insert goes before the current row.
  const std::pair<const char*, const char*> added[] = {{"갑", "1"}, {"을", "2"}};
  for (const auto& [name, id] : added) {
    table.Insert();
    table.FieldByName("이름").SetAsString(name);
    table.Post();
    EXPECT_EQ(table.FieldByName("ID").AsString(), id);
  }
  EXPECT_EQ(table.CellText(0, 0) + table.CellText(0, 4), "2을");
  EXPECT_EQ(table.CellText(1, 0) + table.CellText(1, 4), "1갑");
}

TEST(JetSql, TheLabelQueryYieldsTheTickedRows) {
  testing::DatabaseFixture db(
      {"CREATE TABLE addr_rec (ID Counter Primary Key,선택 YesNo,이름 TEXT(32),존칭 TEXT(20),"
       "우편번호 TEXT(7),주소 TEXT(255),상세주소 TEXT(100),회사 TEXT(30))"});
  db.conn.Execute(
      "INSERT INTO addr_rec (선택,이름,존칭,우편번호,주소,상세주소,회사) VALUES "
      "(1,'홍길동','님','135-806','서울 강남구 개포1동','1-2','가나상사'),"
      "(0,'김철수','귀하','100-011','서울 중구','',''),"
      "(NULL,'이영희','님','200-100','강원','',''),"
      "(1,'박민수',NULL,'300-200','대전 서구',NULL,NULL)");
  TADOQuery query;
  query.Connection = &db.conn;
  query.CursorType = ctOpenForwardOnly;
  query.LockType = ltReadOnly;
  query.SQL.Add("SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec WHERE 선택=TRUE;");
  query.Open();
  ASSERT_EQ(query.FieldCount(), 6);
  EXPECT_EQ(query.Fields(0).FieldName(), "우편번호");
  EXPECT_EQ(query.Fields(5).FieldName(), "존칭");
  std::vector<std::string> lines;
  for (query.First(); !query.Eof(); query.Next()) {
    std::string line;
    for (int i = 0; i < query.FieldCount(); ++i) line += query.Fields(i).AsString() + ",";
    lines.push_back(line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"135-806,서울 강남구 개포1동,1-2,가나상사,홍길동,님,",
                                             "300-200,대전 서구,,,박민수,,"}));
}

// The typed text goes in as a parameter: % and _ keep their meaning in LIKE, an apostrophe is an
// apostrophe.
TEST(JetSql, ThePostcodeSearchMatchesWithWildcardsInPostcodeOrder) {
  testing::DatabaseFixture db(
      {"CREATE TABLE zip (우편번호 TEXT(7), 시도 TEXT(20), 읍면동 TEXT(50), 주소 TEXT(255))"});
  db.conn.Execute(
      "INSERT INTO zip VALUES ('380-200','충북','신니면','충북 충주시 신니면'),"
      "('100-011','서울','신당동','서울 중구 신당동'),"
      "('135-806','서울','개포1동','서울 강남구 개포1동'),"
      "('150-010','서울','당산동','서울 영등포구 당산동'),"
      "('999-001','시험','O''Neil동','시험 O''Neil동')");
  struct {
    const char* typed;
    std::vector<std::string> postcodes;
  } cases[] = {
      {"신", {"100-011", "380-200"}},
      {"당", {"100-011", "150-010"}},
      {"_당", {"100-011"}},
      {"", {"100-011", "135-806", "150-010", "380-200", "999-001"}},
      {"없음", {}},
      {"'", {"999-001"}},
      {"O'N", {"999-001"}},
      {"'%' OR 1=1 --", {}},
  };
  for (const auto& c : cases) {
    TADOQuery query;
    query.Connection = &db.conn;
    query.SQL.Add("SELECT 우편번호,주소 FROM zip WHERE 읍면동 like :dong ORDER BY 우편번호");
    query.Parameters.ParamByName("dong").Value = std::string("%") + c.typed + "%";
    query.Open();
    std::vector<std::string> postcodes;
    for (; !query.Eof(); query.Next())
      postcodes.push_back(query.FieldByName("우편번호").AsString());
    EXPECT_EQ(postcodes, c.postcodes) << c.typed;
    EXPECT_EQ(query.RecordCount(), static_cast<int>(c.postcodes.size()));
  }
}

// Why the text goes in as a parameter: spliced into the statement, an apostrophe ends it.
TEST(JetSql, AnApostropheInTheSearchTextMakesTheStatementFail) {
  testing::DatabaseFixture db(
      {"CREATE TABLE zip (우편번호 TEXT(7), 읍면동 TEXT(50), 주소 TEXT(255))"});
  TADOQuery query;
  query.Connection = &db.conn;
  query.SQL.Add("SELECT 우편번호,주소 FROM zip WHERE 읍면동 like '%a'b%' ORDER BY 우편번호");
  EXPECT_THROW(query.Open(), EDatabaseError);
  EXPECT_FALSE(query.Active());
}

}  // namespace
}  // namespace dbengine
