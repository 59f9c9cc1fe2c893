#include "dbengine/parameters.h"

#include <gtest/gtest.h>

#include "dbengine/errors.h"
#include "dbengine/jet_sql.h"
#include "dbengine/query.h"
#include "dbengine/tests/test_database.h"

namespace dbengine {
namespace {

TEST(Parameters, NamesAreThePlaceholdersOutsideQuotesAndCommentsEachOnce) {
  struct {
    const char* sql;
    std::vector<std::string> names;
  } cases[] = {
      {"SELECT * FROM t WHERE a=:x AND b=:y OR c=:X", {"x", "y"}},
      {"SELECT ':no', \":no\", [:no] FROM t -- :no\n WHERE a=:yes /* :no */", {"yes"}},
      {"SELECT 이름 FROM addr_rec WHERE 이름 LIKE :찾기 OR 회사 LIKE :찾기", {"찾기"}},
      {"SELECT a FROM t WHERE a = ? AND b=:b2", {"b2"}},
      {"SELECT 1", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParameterNames(c.sql), c.names) << c.sql;
}

TEST(Parameters, AQuerysParametersFollowItsText) {
  testing::DatabaseFixture db({});
  TADOQuery query;
  query.Connection = &db.conn;
  query.SQL.Add("SELECT :a || '/' || :b");
  ASSERT_EQ(query.Parameters.Count(), 2);
  query.Parameters.ParamByName("B").Value = "by name";
  query.Parameters[0].Value = "by place";
  query.Open();
  EXPECT_EQ(query.Fields(0).AsString(), "by place/by name");
  query.Close();
  query.SQL.Clear();
  query.SQL.Add("SELECT * FROM t WHERE b=:b AND c=:c");
  ASSERT_EQ(query.Parameters.Count(), 2);
  EXPECT_EQ(query.Parameters[0].Name, "b");
  EXPECT_TRUE(query.Parameters[0].Value.IsNull());
  EXPECT_EQ(query.Parameters.FindParam("a"), nullptr);
  try {
    query.Parameters.ParamByName("a");
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Parameter 'a' not found");
  }
  EXPECT_THROW(query.Parameters[2], EDatabaseError);
}

// Each kind of value reaches the statement as that kind, and text exactly as it is.
TEST(Parameters, ValuesReachTheStatementAsTheyAre) {
  testing::DatabaseFixture db({});
  struct {
    const char* label;
    TParamValue value;
    const char* type;
    std::string text;
  } cases[] = {
      {"text with quotes and wildcards", "it's 100% a_b\r\n\"x\"", "text",
       "it's 100% a_b\r\n\"x\""},
      {"Hangul", "홍길동", "text", "홍길동"},
      {"empty text", "", "text", ""},
      {"long text", std::string(20000, 'x'), "text", std::string(20000, 'x')},
      {"null", nullptr, "null", ""},
      {"whole number", 1234567890123LL, "integer", "1234567890123"},
      {"yes", true, "integer", "1"},
      {"fraction", 2.5, "real", "2.5"},
  };
  for (const auto& c : cases) {
    TADOQuery query;
    query.Connection = &db.conn;
    query.SQL.Add("SELECT typeof(:v), :v");
    query.Parameters.ParamByName("v").Value = c.value;
    query.Open();
    EXPECT_EQ(query.Fields(0).AsString(), c.type) << c.label;
    EXPECT_EQ(query.Fields(1).AsString(), c.text) << c.label;
  }
}

TEST(Parameters, AStatementRunWithParametersStoresTextLiterally) {
  testing::DatabaseFixture db({"CREATE TABLE t (a TEXT(100), b LONG)"});
  const std::string hostile = "x'); DROP TABLE t; --";
  db.conn.Execute("INSERT INTO t (a, b) VALUES (:a, :b)", {{"a", hostile}, {"b", 7}});
  EXPECT_EQ(db.Scalar("SELECT a || '/' || b FROM t"), hostile + "/7");
  // A placeholder without a value is refused rather than quietly stored as null.
  try {
    db.conn.Execute("INSERT INTO t (a, b) VALUES (:a, :missing)", {{"a", "y"}});
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Parameter 'missing' has no value");
  }
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM t"), "1");
}

}  // namespace
}  // namespace dbengine
