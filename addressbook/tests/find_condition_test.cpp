#include "addressbook/find_condition.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>


#include "addressbook/data_module.h"
#include "dbengine/connection.h"
#include "dbengine/database_creation.h"
#include "dbengine/query.h"
#include "platform/testing/scratch_dir.h"

namespace addressbook {
namespace {

using ::testing::ElementsAre;
using Parameters = std::vector<std::pair<std::string, std::string>>;

TEST(FindCondition, WordsOfTheFindBox) {
  struct {
    std::string text;
    std::vector<std::string> words;
  } cases[] = {
      {"", {}},
      {" \t ", {}},
      {"홍길동", {"홍길동"}},
      {" 홍  길동 ", {"홍", "길동"}},
      {"홍\u3000길동", {"홍", "길동"}},  // the full-width blank of Korean input
      {"a\tb\nc", {"a", "b", "c"}},
      {"서울 서울 강남", {"서울", "강남"}},
      {"100% O'Brien a_b", {"100%", "O'Brien", "a_b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(FindWords(c.text), c.words) << c.text;

  std::string many;
  for (int i = 0; i < 40; ++i) many.append("w").append(std::to_string(i)).append(" ");
  const std::vector<std::string> words = FindWords(many);
  ASSERT_EQ(words.size(), kMaxFindWords);
  EXPECT_EQ(words.back(), "w31");
}

TEST(FindCondition, ConditionTextAndValues) {
  const std::string like = " ESCAPE '\\'";
  EXPECT_EQ(FindConditionFor("  "), FindCondition());
  EXPECT_EQ(FindConditionFor("홍길동").Sql,
            "(이름 LIKE :w1" + like + " OR 회사 LIKE :w1" + like + " OR 주소 LIKE :w1" + like +
                " OR 상세주소 LIKE :w1" + like + " OR 우편번호 LIKE :w1" + like +
                " OR 전화 LIKE :w1" + like + " OR 휴대폰 LIKE :w1" + like + ")");
  const FindCondition number = FindConditionFor("강남 010-12");
  EXPECT_EQ(number.Sql, "(이름 LIKE :w1" + like + " OR 회사 LIKE :w1" + like + " OR 주소 LIKE :w1" +
                            like + " OR 상세주소 LIKE :w1" + like + " OR 우편번호 LIKE :w1" + like +
                            " OR 전화 LIKE :w1" + like + " OR 휴대폰 LIKE :w1" + like +
                            ") AND (이름 LIKE :w2" + like + " OR 회사 LIKE :w2" + like +
                            " OR 주소 LIKE :w2" + like + " OR 상세주소 LIKE :w2" + like +
                            " OR REPLACE(REPLACE(우편번호,'-',''),' ','') LIKE :n2" + like +
                            " OR REPLACE(REPLACE(전화,'-',''),' ','') LIKE :n2" + like +
                            " OR REPLACE(REPLACE(휴대폰,'-',''),' ','') LIKE :n2" + like + ")");
  EXPECT_EQ(number.Parameters,
            (Parameters{{":w1", "%강남%"}, {":w2", "%010-12%"}, {":n2", "%01012%"}}));

  struct {
    std::string text;
    Parameters parameters;
  } cases[] = {
      {"100%", {{":w1", "%100\\%%"}}},
      {"a_b", {{":w1", "%a\\_b%"}}},
      {"C:\\temp", {{":w1", "%C:\\\\temp%"}}},
      {"O'Brien", {{":w1", "%O'Brien%"}}},
      {"--", {{":w1", "%--%"}}},  // hyphens alone are no number
      {"5", {{":w1", "%5%"}, {":n1", "%5%"}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindConditionFor(c.text).Parameters, c.parameters) << c.text;
}

// The address table of a scratch database, with records that each hold one kind of text.
class FindInDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = scratch.Path("find.db");
    dbengine::CreateEmptyDatabase(path);
    conn.ConnectionString = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + path + "\"";
    conn.Open();
    conn.Execute(kCreateAddressTable);
    const char* rows[] = {
        "'홍길동','자리즈','서울특별시 강남구 논현로 508','101동 202호','06035','02-555-1234',"
        "'010-1234-5678','영업부'",
        "'김영희','Acme Corp','부산광역시 해운대구 해운대해변로 264','','48099','','',''",
        "'박지성','100% 상사','서울 중구 세종대로 110','','04524','','',''",
        "'O''Brien','','','','','','',''",
        "'이순신','','경기 성남시','a_b 건물','','','',''",
        "'강감찬','','','C:\\temp','','','',''",
        "'John Smith','','','','','','',''",
        "'빈칸',NULL,NULL,NULL,NULL,NULL,NULL,NULL",
    };
    for (const char* row : rows) {
      conn.Execute(
          "INSERT INTO addr_rec (이름,회사,주소,상세주소,우편번호,전화,휴대폰,부서) VALUES (" +
          std::string(row) + ")");
    }
  }

  // The ids of the records the find text shows, its words bound to the condition's parameters.
  std::vector<int> Found(const std::string& text) {
    const FindCondition condition = FindConditionFor(text);
    dbengine::TADOQuery query;
    query.Connection = &conn;
    query.SQL.Add("SELECT ID FROM addr_rec" +
                  (condition.Sql.empty() ? "" : " WHERE " + condition.Sql) + " ORDER BY ID");
    for (const auto& [name, value] : condition.Parameters)
      query.Parameters.ParamByName(name.substr(1)).Value = value;
    query.Open();
    std::vector<int> ids;
    for (; !query.Eof(); query.Next()) ids.push_back(std::stoi(query.Fields(0).AsString()));
    return ids;
  }

  platform::testing::ScratchDir scratch;
  dbengine::TADOConnection conn;
};

TEST_F(FindInDatabase, EveryWordMatchesSomeColumn) {
  struct {
    std::string text;
    std::vector<int> ids;
  } cases[] = {
      {"", {1, 2, 3, 4, 5, 6, 7, 8}},
      {"홍길동", {1}},
      {"강남 508", {1}},
      {"자리즈 010", {1}},
      {"서울", {1, 3}},
      {"홍길동 부산", {}},
      {"john", {7}},
      {"SMITH jOhN", {7}},
      {"acme", {2}},
      {"100%", {3}},
      {"%", {3}},
      {"_", {5}},
      {"a_b", {5}},
      {"a%b", {}},
      {"'", {4}},
      {"O'Brien", {4}},
      {"\\", {6}},
      {"C:\\temp", {6}},
      {"01012345678", {1}},
      {"5551234", {1}},
      {"555-1234", {1}},
      {"060-35", {1}},
      {"04524", {3}},
      {"영업부", {}},  // 부서 is not looked in
      {"없는말", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Found(c.text), c.ids) << c.text;
}

}  // namespace
}  // namespace addressbook
