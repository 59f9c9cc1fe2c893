#include "dbengine/field.h"

#include <gtest/gtest.h>

#include "dbengine/errors.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "dbengine/tests/test_database.h"

namespace dbengine {
namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

class FieldTest : public ::testing::Test {
 protected:
  FieldTest()
      : db({"CREATE TABLE t (ID Counter Primary Key,GID LONG,SDATE DATETIME,선택 YesNo,이름 "
            "TEXT(32),"
            "메모 TEXT,점수 DOUBLE)"}) {
    table.Connection = &db.conn;
    table.TableName = "t";
    table.Open();
  }

  // How SQLite holds the first row's column: its storage class and value.
  std::string StoredAs(const std::string& column) {
    return db.Scalar("SELECT typeof(" + column + ") || ':' || ifnull(" + column + ", '') FROM t");
  }

  testing::DatabaseFixture db;
  TADOTable table;
};

TEST_F(FieldTest, TextLimitCountsCharactersAndKeepsTheRowPending) {
  TField& name = table.FieldByName("이름");
  table.Insert();
  name.SetAsString(Repeat("가", 33));
  try {
    table.Post();
    FAIL() << "33 characters were stored in TEXT(32)";
  } catch (const EDatabaseError& error) {
    const std::string text = error.what();
    EXPECT_NE(text.find("이름"), std::string::npos) << text;
    EXPECT_NE(text.find("32"), std::string::npos) << text;
  }
  EXPECT_EQ(table.State(), dsInsert);
  EXPECT_EQ(name.AsString(), Repeat("가", 33)) << "nothing may be cut off";
  EXPECT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM t"), "0");

  name.SetAsString(Repeat("가", 32));  // 96 bytes, 32 characters
  table.Post();
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(StoredAs("이름"), "text:" + Repeat("가", 32));
}

TEST_F(FieldTest, PlainTextHoldsTwoHundredFiftyFiveCharacters) {
  TField& memo = table.FieldByName("메모");
  EXPECT_EQ(memo.Size(), 255);
  table.Insert();
  memo.SetAsString(Repeat("a", 256));
  EXPECT_THROW(table.Post(), EDatabaseError);
  memo.SetAsString(Repeat("a", 255));
  EXPECT_NO_THROW(table.Post());
}

TEST_F(FieldTest, YesNoReadsTrueFalseOrEmptyAndIsStoredAsOneOrZero) {
  db.conn.Execute("INSERT INTO t (선택) VALUES (1),(0),(NULL)");
  table.Refresh();
  const char* expected[] = {"True", "False", ""};
  for (const char* text : expected) {
    EXPECT_EQ(table.FieldByName("선택").AsString(), text);
    EXPECT_EQ(table.FieldByName("선택").IsNull(), *text == '\0');
    table.Next();
  }
  db.conn.Execute("DELETE FROM t");
  table.Refresh();
  table.Insert();
  table.FieldByName("선택").SetAsBoolean(true);
  table.Post();
  EXPECT_EQ(StoredAs("선택"), "integer:1");
  EXPECT_TRUE(table.FieldByName("선택").AsBoolean());
  table.Edit();
  table.FieldByName("선택").SetAsString("False");
  table.Post();
  EXPECT_EQ(StoredAs("선택"), "integer:0");
  table.Edit();
  table.FieldByName("선택").Clear();
  table.Post();
  EXPECT_EQ(StoredAs("선택"), "null:");
  EXPECT_FALSE(table.FieldByName("선택").AsBoolean());
}

TEST_F(FieldTest, TextIsConvertedToTheFieldsKind) {
  struct {
    const char* field;
    const char* typed;
    const char* stored;  // typeof:value
    const char* reads;
  } cases[] = {
      {"SDATE", "2024-03-05", "text:2024-03-05", "2024-03-05"},
      {"SDATE", "2024-3-5", "text:2024-03-05", "2024-03-05"},
      {"SDATE", "2024-02-29 14:07:09", "text:2024-02-29 14:07:09", "2024-02-29 14:07:09"},
      {"SDATE", "2024-03-05 00:00:00", "text:2024-03-05", "2024-03-05"},
      {"SDATE", "", "null:", ""},
      {"GID", "12", "integer:12", "12"},
      {"GID", " -7 ", "integer:-7", "-7"},
      {"GID", "", "null:", ""},
      {"선택", "yes", "integer:1", "True"},
      {"점수", "2.5", "real:2.5", "2.5"},
      {"이름", "", "text:", ""},
  };
  for (const auto& c : cases) {
    db.conn.Execute("DELETE FROM t");
    table.Refresh();
    table.Insert();
    table.FieldByName(c.field).SetAsString(c.typed);
    table.Post();
    EXPECT_EQ(StoredAs(c.field), c.stored) << c.field << " = '" << c.typed << "'";
    EXPECT_EQ(table.FieldByName(c.field).AsString(), c.reads)
        << c.field << " = '" << c.typed << "'";
  }
}

TEST_F(FieldTest, TextThatIsNoValueOfTheKindIsRefused) {
  struct {
    const char* field;
    const char* typed;
  } cases[] = {
      {"SDATE", "not a date"}, {"SDATE", "2023-02-29"},
      {"SDATE", "2024-13-01"}, {"SDATE", "2024-03-05 25:00"},
      {"GID", "12a"},          {"GID", "1.5"},
      {"선택", "maybe"},       {"점수", "abc"},
  };
  table.Insert();
  for (const auto& c : cases) {
    EXPECT_THROW(table.FieldByName(c.field).SetAsString(c.typed), platform::EConvertError)
        << c.field << " = '" << c.typed << "'";
  }
  EXPECT_FALSE(table.Modified());
}

TEST_F(FieldTest, FieldsAreFoundByNameWithoutRegardToCase) {
  EXPECT_EQ(&table.FieldByName("sdate"), &table.FieldByName("SDATE"));
  EXPECT_EQ(table.FindField("없음"), nullptr);
  try {
    table.FieldByName("없음");
    FAIL() << "found a field that is not there";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Field '없음' not found");
  }
}

TEST_F(FieldTest, AnEmptyDataSetReadsNullFields) {
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(table.FieldByName("이름").IsNull());
  EXPECT_EQ(table.FieldByName("이름").AsString(), "");
}

TEST_F(FieldTest, ExpressionColumnsOfAQueryReadAsText) {
  db.conn.Execute("INSERT INTO t (이름, 점수) VALUES ('가', 1.5), ('나', 2)");
  TADOQuery query;
  query.Connection = &db.conn;
  query.SQL.Add("SELECT count(*) AS n, sum(점수) AS s, max(이름) AS m FROM t");
  query.Open();
  EXPECT_EQ(query.FieldByName("n").AsString(), "2");
  EXPECT_EQ(query.FieldByName("s").AsString(), "3.5");
  EXPECT_EQ(query.FieldByName("m").AsString(), "나");
}

}  // namespace
}  // namespace dbengine
