#include "addressbook/duplicates.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "addressbook/address_evening.h"

namespace addressbook {
namespace {

using ::testing::ElementsAre;

struct Record {
  std::string name, postcode, address, detail;
  DuplicateFields Fields() const { return {name, postcode, address, detail}; }
};

TEST(AddressEvening, ProvinceNamesBlanksAndHyphens) {
  const std::vector<std::vector<std::string>> sameAddress = {
      {"서울특별시 강남구 논현로 508", "서울시 강남구 논현로 508", "서울 강남구 논현로508",
       "서울　강남구　논현로 508", " 서울 특별시 강남구 논현로 508 "},
      {"부산광역시 해운대구 해운대해변로 264", "부산 해운대구 해운대해변로 264"},
      {"경기도 성남시 분당구 판교역로 235", "경기 성남시 분당구 판교역로 235"},
      {"충청북도 청주시 상당구 상당로 82", "충북 청주시 상당구 상당로 82"},
      {"강원특별자치도 춘천시 중앙로 1", "강원도 춘천시 중앙로 1", "강원 춘천시 중앙로 1"},
      {"전북특별자치도 전주시 완산구 효자로 225", "전라북도 전주시 완산구 효자로 225",
       "전북 전주시 완산구 효자로 225"},
      {"제주특별자치도 제주시 문연로 6", "제주도 제주시 문연로 6", "제주 제주시 문연로 6"},
      {"세종특별자치시 한누리대로 2130", "세종시 한누리대로 2130", "세종 한누리대로 2130"},
      {"논현동 50-8", "논현동 50 - 8", "논현동 50－8", "논현동 50‐8"},
      {"101동-202호", "101동 202호", "101동202호"},
      {"Seoul Tower B-1", "seoul tower b1"},
  };
  for (const auto& spellings : sameAddress) {
    for (const std::string& spelling : spellings)
      EXPECT_EQ(EvenedAddress(spelling), EvenedAddress(spellings.front())) << spelling;
  }
  EXPECT_EQ(EvenedAddress("서울시 강남구 논현로 508"), "서울강남구논현로508");
  EXPECT_EQ(EvenedName(" 홍 길동 "), "홍길동");
  EXPECT_EQ(EvenedName("John  DOE"), "johndoe");
  EXPECT_EQ(EvenedPostcode("135-080"), EvenedPostcode("135080"));
  EXPECT_EQ(EvenedPostcode(" 06 035 "), "06035");
}

TEST(Duplicates, ProbableDuplicates) {
  struct {
    const char* why;
    Record a, b;
  } cases[] = {
      {"province, blanks",
       {"홍길동", "", "서울특별시 강남구 논현로 508", "101동 202호"},
       {"홍 길동", "", "서울 강남구 논현로508", "101동202호"}},
      {"the address split differently between the two columns",
       {"홍길동", "", "서울 강남구 논현로 508 101동 202호", ""},
       {"홍길동", "", "서울특별시 강남구 논현로 508", "101동 202호"}},
      {"name, postcode and detail where the addresses differ",
       {"홍길동", "135-080", "서울 강남구 논현동 123-4", "101동 202호"},
       {"홍길동", "135080", "서울특별시 강남구 논현로 508", "101동-202호"}},
      {"Latin name in another case",
       {"John Doe", "", "서울 중구 세종대로 110", ""},
       {"john doe", "", "서울특별시 중구 세종대로 110", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(ProbableDuplicates(c.a.Fields(), c.b.Fields())) << c.why;
    EXPECT_TRUE(ProbableDuplicates(c.b.Fields(), c.a.Fields())) << c.why;
  }
}

TEST(Duplicates, NearMissesAreNotDuplicates) {
  struct {
    const char* why;
    Record a, b;
  } cases[] = {
      {"another building number",
       {"홍길동", "", "서울 강남구 논현로 508", ""},
       {"홍길동", "", "서울 강남구 논현로 509", ""}},
      {"a lot number that only a hyphen tells apart",
       {"홍길동", "", "서울 강남구 논현동 50-8", ""},
       {"홍길동", "", "서울 강남구 논현동 508", ""}},
      {"the hyphen elsewhere",
       {"홍길동", "", "서울 강남구 논현동 12-3", ""},
       {"홍길동", "", "서울 강남구 논현동 1-23", ""}},
      {"another name",
       {"홍길동", "06035", "서울 강남구 논현로 508", "101동"},
       {"홍길순", "06035", "서울 강남구 논현로 508", "101동"}},
      {"another 상세주소",
       {"홍길동", "06035", "서울 강남구 논현로 508", "101동 202호"},
       {"홍길동", "06035", "서울 강남구 논현로 508", "101동 203호"}},
      {"a 상세주소 on one side only",
       {"홍길동", "", "서울 강남구 논현로 508", "101동 202호"},
       {"홍길동", "", "서울 강남구 논현로 508", ""}},
      {"the same province name for another city",
       {"홍길동", "", "경기도 광주시 중앙로 1", ""},
       {"홍길동", "", "광주광역시 중앙로 1", ""}},
      {"the same road in another city",
       {"홍길동", "", "서울 중구 중앙로 1", ""},
       {"홍길동", "", "부산 중구 중앙로 1", ""}},
      {"no address on either", {"홍길동", "", "", ""}, {"홍길동", "", "", ""}},
      {"no 주소, the same 상세주소 and no postcode",
       {"홍길동", "", "", "101동 202호"},
       {"홍길동", "", "", "101동 202호"}},
      {"the same postcode without 상세주소",
       {"홍길동", "06035", "서울 강남구 논현로 508", ""},
       {"홍길동", "06035", "서울 강남구 논현로 510", ""}},
      {"another postcode, the same 상세주소",
       {"홍길동", "06035", "서울 강남구 논현로 508", "101동"},
       {"홍길동", "06036", "서울 강남구 학동로 1", "101동"}},
      {"no name",
       {"", "06035", "서울 강남구 논현로 508", "101동"},
       {"", "06035", "서울 강남구 논현로 508", "101동"}},
  };
  for (const auto& c : cases) EXPECT_FALSE(ProbableDuplicates(c.a.Fields(), c.b.Fields())) << c.why;
}

TEST(Duplicates, FinderJoinsRecordsLinkedByEitherRule) {
  DuplicateFinder finder;
  const Record records[] = {
      {"김영희", "", "부산 해운대구 해운대해변로 264", ""},                  // 10: alone
      {"홍길동", "135-080", "서울특별시 강남구 논현로 508", "101동 202호"},  // 20
      {"박지성", "", "서울 중구 세종대로 110", ""},                          // 30
      {"홍 길동", "", "서울 강남구 논현로 508", "101동202호"},               // 40: 20 by address
      {"홍길동", "135080", "서울 강남구 논현동 123-4", "101동 202호"},       // 50: 20 by postcode
      {"박지성", "", "서울특별시 중구 세종대로 110", ""},                    // 60: 30
      {"홍길동", "", "", ""},                                                // 70: nothing to match
      {"홍길동", "", "", ""},                                                // 80
  };
  std::int64_t id = 0;
  for (const Record& record : records) finder.Add(id += 10, record.Fields());
  EXPECT_THAT(finder.Sets(), ElementsAre(ElementsAre(20, 40, 50), ElementsAre(30, 60)));
}

TEST(Duplicates, FinderOverAHundredThousandRecords) {
  // Every tenth record comes back later written another way, and its neighbour comes back with
  // another building number, which must stay apart.
  const std::string provinces[][2] = {{"서울특별시", "서울"},
                                      {"경기도", "경기"},
                                      {"전북특별자치도", "전라북도"},
                                      {"제주특별자치도", "제주도"}};
  constexpr int kRecords = 100000;
  DuplicateFinder finder(kRecords);
  std::vector<std::vector<std::int64_t>> expected;
  for (int i = 0; i < kRecords; ++i) {
    const std::string name = "이름" + std::to_string(i);
    const std::string address = provinces[i % 4][0] + " 중앙로 " + std::to_string(i);
    finder.Add(i, {name, "", address, "1동 1호"});
  }
  for (int i = 0; i < kRecords; i += 10) {
    const std::string name = "이름 " + std::to_string(i);
    finder.Add(kRecords + i,
               {name, "", provinces[i % 4][1] + " 중앙로" + std::to_string(i), "1동1호"});
    const std::string neighbour = "이름" + std::to_string(i + 1);
    finder.Add(
        2 * kRecords + i,
        {neighbour, "", provinces[(i + 1) % 4][0] + " 중앙로 " + std::to_string(i + 2), "1동 1호"});
    expected.push_back({i, kRecords + i});
  }
  EXPECT_EQ(finder.Sets(), expected);
}

}  // namespace
}  // namespace addressbook
