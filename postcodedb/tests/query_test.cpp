#include "postcodedb/query.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "postcodedb/name_key.h"
#include "postcodedb/sido.h"

namespace postcodedb {

void PrintTo(const TQuery& q, std::ostream* out) {
  *out << "{kind " << static_cast<int>(q.Kind) << " sido '" << q.SidoKey << "' sigungu [";
  for (const std::string& s : q.Sigungu) *out << s << ";";
  *out << "] eupmyeon '" << q.Eupmyeon << "' name '" << q.Name << "' postcode '" << q.Postcode
       << "'" << (q.Underground ? " 지하" : "") << (q.Mountain ? " 산" : "");
  if (q.Number) {
    *out << " number " << q.Number->Main;
    if (q.Number->Sub) *out << "-" << *q.Number->Sub;
  }
  *out << "}";
}

namespace {

// Builds the expected query of a case.
struct Q {
  TQuery Query;

  explicit Q(TQueryKind kind, std::string name = "") {
    Query.Kind = kind;
    Query.Name = std::move(name);
  }
  Q& Sido(std::string key) {
    Query.SidoKey = std::move(key);
    return *this;
  }
  Q& Sigungu(std::vector<std::string> words) {
    Query.Sigungu = std::move(words);
    return *this;
  }
  Q& Eupmyeon(std::string name) {
    Query.Eupmyeon = std::move(name);
    return *this;
  }
  Q& Number(int main, std::optional<int> sub = std::nullopt) {
    Query.Number = TQueryNumber{main, sub};
    return *this;
  }
  Q& Underground() {
    Query.Underground = true;
    return *this;
  }
  Q& Mountain() {
    Query.Mountain = true;
    return *this;
  }
  Q& Postcode(std::string code) {
    Query.Postcode = std::move(code);
    return *this;
  }
};

struct TQueryCase {
  std::string Text;
  Q Expected;
};

using K = TQueryKind;

const std::vector<TQueryCase>& Cases() {
  static const std::vector<TQueryCase> cases = {
      // Road with and without a building number, sub-numbers, underground.
      {"논현로 508", Q(K::Road, "논현로").Number(508)},
      {"논현로", Q(K::Road, "논현로")},
      {"학동로42길 55-5", Q(K::Road, "학동로42길").Number(55, 5)},
      {"개포로 지하 420", Q(K::Road, "개포로").Underground().Number(420)},
      {"개포로 지하420", Q(K::Road, "개포로").Underground().Number(420)},
      {"개포로 지하", Q(K::Road, "개포로")},
      {"세종대로 175번", Q(K::Road, "세종대로").Number(175)},
      // Blanks inside a road name and before its number do not matter.
      {"중동로 254번길", Q(K::Road, "중동로254번길")},
      {"중동로254번길 12", Q(K::Road, "중동로254번길").Number(12)},
      {"중동로 254 번길 12", Q(K::Road, "중동로254번길").Number(12)},
      {"논현로 8 길 10", Q(K::Road, "논현로8길").Number(10)},
      {"세종 대로 175", Q(K::Road, "세종대로").Number(175)},
      {"논현로508", Q(K::Road, "논현로").Number(508)},
      {"학동로42길55-5", Q(K::Road, "학동로42길").Number(55, 5)},
      {"  논현로\t508  ", Q(K::Road, "논현로").Number(508)},
      // 동, 리 and 가 with and without a lot number, 산.
      {"논현동 167-24", Q(K::Area, "논현동").Number(167, 24)},
      {"논현동", Q(K::Area, "논현동")},
      {"개포동 산 12", Q(K::Area, "개포동").Mountain().Number(12)},
      {"개포동 산12-3", Q(K::Area, "개포동").Mountain().Number(12, 3)},
      {"개포동산12", Q(K::Area, "개포동").Mountain().Number(12)},
      {"논현동167-24번지", Q(K::Area, "논현동").Number(167, 24)},
      {"양수리 45", Q(K::Area, "양수리").Number(45)},
      {"종로1가 12", Q(K::Area, "종로1가").Number(12)},
      {"종로 1가 12", Q(K::Area, "종로1가").Number(12)},
      {"을지로3가", Q(K::Area, "을지로3가")},
      {"인현동 2가", Q(K::Area, "인현동2가")},
      // Building names, blanks and ASCII case left out of the key.
      {"개포자이", Q(K::Building, "개포자이")},
      {"논현 e편한세상", Q(K::Building, "논현e편한세상")},
      {"G-Heim", Q(K::Building, "g-heim")},
      {"63빌딩", Q(K::Building, "63빌딩")},
      {"현대아파트 101동 202호", Q(K::Building, "현대아파트")},
      // Post-office boxes.
      {"강남우체국사서함", Q(K::PoBox, "강남우체국사서함")},
      {"강남우체국 사서함 123", Q(K::PoBox, "강남우체국사서함").Number(123)},
      {"사서함", Q(K::PoBox, "사서함")},
      // Postcodes.
      {"06038", Q(K::Postcode).Postcode("06038")},
      {"서울 06038", Q(K::Postcode).Sido("서울").Postcode("06038")},
      {"060381", Q(K::Building, "060381")},
      // Narrowed by 시도 (long and short forms), 시군구 and 읍면.
      {"강남구 논현로 508", Q(K::Road, "논현로").Sigungu({"강남구"}).Number(508)},
      {"서울 강남구 논현로 508", Q(K::Road, "논현로").Sido("서울").Sigungu({"강남구"}).Number(508)},
      {"서울특별시 강남구 논현동 167-24",
       Q(K::Area, "논현동").Sido("서울").Sigungu({"강남구"}).Number(167, 24)},
      {"서울시 논현동", Q(K::Area, "논현동").Sido("서울")},
      {"경기 성남시 분당구 판교역로 235",
       Q(K::Road, "판교역로").Sido("경기").Sigungu({"성남시", "분당구"}).Number(235)},
      {"경기도 양평군 양서면 양수리 45",
       Q(K::Area, "양수리").Sido("경기").Sigungu({"양평군"}).Eupmyeon("양서면").Number(45)},
      {"양서면 양수로 12", Q(K::Road, "양수로").Eupmyeon("양서면").Number(12)},
      {"세종특별자치시 한누리대로 2130", Q(K::Road, "한누리대로").Sido("세종").Number(2130)},
      {"강원특별자치도 평창군 올림픽로 715",
       Q(K::Road, "올림픽로").Sido("강원").Sigungu({"평창군"}).Number(715)},
      {"경기 광주시 경안동", Q(K::Area, "경안동").Sido("경기").Sigungu({"광주시"})},
      {"광주 광산구", Q(K::Region).Sido("광주").Sigungu({"광산구"})},
      {"서울", Q(K::Region).Sido("서울")},
      // A pasted address: the bracketed reference part and the detail are ignored.
      {"서울특별시 강남구 논현로 508 (역삼동, 지에스타워)",
       Q(K::Road, "논현로").Sido("서울").Sigungu({"강남구"}).Number(508)},
      {"논현로 508 3층", Q(K::Road, "논현로").Number(508)},
      // Nothing to search for, and numbers too long to be one.
      {"", Q(K::Empty)},
      {"   ", Q(K::Empty)},
      {"(논현동)", Q(K::Empty)},
      {"논현로 1234567", Q(K::Road, "논현로")},
      {"산12", Q(K::Building, "산12")},
  };
  return cases;
}

TEST(QueryGrammar, EachFormOfQueryIsUnderstood) {
  for (const TQueryCase& c : Cases()) {
    EXPECT_EQ(ParseQuery(c.Text), c.Expected.Query) << "query: '" << c.Text << "'";
  }
}

TEST(QueryGrammar, SidoNamesOfEveryEditionShareOneKey) {
  const std::vector<std::pair<std::string, std::string>> names = {
      {"서울특별시", "서울"},
      {"서울시", "서울"},
      {"부산광역시", "부산"},
      {"세종특별자치시", "세종"},
      {"세종시", "세종"},
      {"경기도", "경기"},
      {"충청북도", "충북"},
      {"충남", "충남"},
      {"강원도", "강원"},
      {"강원특별자치도", "강원"},
      {"전라북도", "전북"},
      {"전북특별자치도", "전북"},
      {"전라남도", "전남"},
      {"경상북도", "경북"},
      {"제주도", "제주"},
      {"제주특별자치도", "제주"},
      {"광주광역시", "광주"},
      {"광주시", ""},
      {"제주시", ""},
      {"강남구", ""},
      {"", ""},
  };
  for (const auto& [name, key] : names) EXPECT_EQ(SidoKey(name), key) << name;
}

TEST(QueryGrammar, NameKeysDropEveryKindOfBlank) {
  EXPECT_EQ(NameKey("중동로 254번길"), NameKey("중동로254번길"));
  EXPECT_EQ(NameKey("논현\xC2\xA0"
                    "e편한세상\xE3\x80\x80"
                    "2차 APT"),
            "논현e편한세상2차apt");
  EXPECT_EQ(BlankSeparatedWords(" 서울\t강남구\xE3\x80\x80논현로 "),
            (std::vector<std::string>{"서울", "강남구", "논현로"}));
}

}  // namespace
}  // namespace postcodedb
