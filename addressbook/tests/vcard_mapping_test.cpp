#include "addressbook/vcard_mapping.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "addressbook/address_columns.h"
#include "addressbook/tests/vcard_test_support.h"

namespace addressbook {
namespace {

using ::testing::ElementsAre;
using testing::FixtureBytes;
using testing::OnlyCard;
using testing::ReadCards;

}  // namespace

void PrintTo(const PostalLines& lines, std::ostream* os) {
  *os << "{" << lines.Postcode << " | " << lines.Address << " | " << lines.Detail << "}";
}

namespace {

// The columns a record holds something in, by name.
std::map<std::string, std::string> Filled(const AddressRecord& record) {
  std::map<std::string, std::string> filled;
  for (const ColumnInfo& column : ImportableColumns()) {
    if (!record.Value(column.Name).empty()) filled.emplace(column.Name, record.Value(column.Name));
  }
  return filled;
}

CardRecord MapBody(const std::string& body) {
  return RecordFromCard(OnlyCard("BEGIN:VCARD\r\nVERSION:3.0\r\n" + body + "\r\nEND:VCARD\r\n"));
}

TEST(VCardMapping, PersonName) {
  struct {
    std::string family, given, name;
  } cases[] = {
      {"홍", "길동", "홍길동"},
      {"남궁", "민수", "남궁민수"},
      {"", "홍길동", "홍길동"},
      {"홍길동", "", "홍길동"},
      {"安藤", "ロイド", "安藤ロイド"},
      {"Doe", "John", "John Doe"},
      {"Doe", "", "Doe"},
      {" Doe ", "John\nPaul", "John Paul Doe"},
      {"", "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PersonName(c.family, c.given), c.name) << c.family << "|" << c.given;
}

TEST(VCardMapping, PostalAddress) {
  struct {
    std::vector<std::string> parts;
    PostalLines lines;
  } cases[] = {
      {{"", "101동 202호", "논현로 508", "강남구", "서울특별시", "06035", "대한민국"},
       {"06035", "서울특별시 강남구 논현로 508", "101동 202호"}},
      {{"", "", "판교역로 235", "성남시 분당구", "경기도", "13494", "KR"},
       {"13494", "경기도 성남시 분당구 판교역로 235", ""}},
      // Phones that put everything into the street, or the locality into it again.
      {{"", "", "서울특별시 강남구 논현로 508", "", "", "06035", ""},
       {"06035", "서울특별시 강남구 논현로 508", ""}},
      {{"", "", "서울특별시 강남구 논현로 508", "강남구", "서울특별시", "06035", "Korea"},
       {"06035", "서울특별시 강남구 논현로 508", ""}},
      {{"", "", "강남구 논현로 508", "강남구", "서울특별시", "", "South Korea"},
       {"", "서울특별시 강남구 논현로 508", ""}},
      {{"", "", "해운대해변로 264\n(우동)", "해운대구", "부산광역시", "48099", "대한민국"},
       {"48099", "부산광역시 해운대구 해운대해변로 264 (우동)", ""}},
      {{"사서함 7", "3층", "세종대로 110", "중구", "서울특별시", "04524", ""},
       {"04524", "서울특별시 중구 세종대로 110", "3층 사서함 7"}},
      {{"", "", "논현로 508"}, {"", "논현로 508", ""}},
      // 중구 is not the same word as 중구로.
      {{"", "", "중구로 12", "중구", "대구광역시", "", ""}, {"", "대구광역시 중구 중구로 12", ""}},
      {{"", "Apt 4", "Silicon Alley 5,", "New York", "NY", "12345", "USA"},
       {"12345", "Silicon Alley 5, New York, NY, USA", "Apt 4"}},
      {{"P.O. Box 12", "", "", "Austin", "TX", "78701", ""},
       {"78701", "Austin, TX", "P.O. Box 12"}},
      // A Korean address abroad keeps the Western order with its country.
      {{"", "", "1 Main St", "Seattle", "WA", "98101", "미국"},
       {"98101", "1 Main St, Seattle, WA, 미국", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(PostalAddress(c.parts), c.lines) << c.parts[2];
}

TEST(VCardMapping, PhoneExportInVersion21) {
  const std::vector<VCard> cards = ReadCards(FixtureBytes("korean_21.vcf"));
  ASSERT_EQ(cards.size(), 2u);
  const CardRecord mapped = RecordFromCard(cards[0]);
  const std::map<std::string, std::string> expected = {
      {"이름", "홍길동"},
      {"우편번호", "06035"},
      {"주소", "서울특별시 강남구 논현로 508"},
      {"상세주소", "101동 202호"},
      {"휴대폰", "010-1234-5678"},  // the preferred one of two
      {"전화", "02-555-1234"},
      {"회사팩스", "02-555-9999"},
      {"회사", "(주)자리즈"},
      {"부서", "영업부"},
      {"직책", "과장"},
  };
  EXPECT_EQ(Filled(mapped.Record), expected);
  EXPECT_THAT(mapped.Dropped, ElementsAre("TEL 010-9999-0000", "EMAIL", "NOTE", "PHOTO"));
  EXPECT_EQ(RecordFromCard(cards[1]).Record.Value("이름"), "남궁민수");
}

TEST(VCardMapping, MailProgramExportInVersion30) {
  const CardRecord mapped = RecordFromCard(OnlyCard(FixtureBytes("korean_30.vcf")));
  // The preferred address is a work address; the home one finds no column.
  const std::map<std::string, std::string> expected = {
      {"이름", "김영희"},  // from N, whatever order FN shows
      {"우편번호", "13494"},       {"주소", "경기도 성남시 분당구 판교역로 235"},
      {"휴대폰", "010-2222-3333"}, {"회사전화", "031-777-8888"},
      {"팩스", "02-333-4444"},     {"회사", "주식회사 가나다, 본사"},
      {"부서", "인사팀 채용파트"}, {"직책", "대리"},
  };
  EXPECT_EQ(Filled(mapped.Record), expected);
  EXPECT_THAT(mapped.Dropped,
              ElementsAre("ADR 48099 부산광역시 해운대구 해운대해변로 264 (우동)", "NOTE"));
}

TEST(VCardMapping, CardInVersion40) {
  const CardRecord mapped = RecordFromCard(OnlyCard(FixtureBytes("korean_40.vcf")));
  const std::map<std::string, std::string> expected = {
      {"이름", "박지성"},
      {"휴대폰", "+82-10-4444-5555"},
      {"전화", "+82-2-123-4567"},
      {"우편번호", "06035"},
      {"주소", "서울특별시 강남구 논현로 508"},
      {"상세주소", "101동 1001호"},
      {"회사우편번호", "04524"},
      {"회사주소", "서울특별시 중구 세종대로 110"},
      {"회사", "자리즈 주식회사"},
  };
  EXPECT_EQ(Filled(mapped.Record), expected);
  EXPECT_THAT(mapped.Dropped, ElementsAre("EMAIL", "PHOTO"));
}

TEST(VCardMapping, TelephoneNumbersByType) {
  struct {
    std::string line;
    std::string column;  // empty: goes nowhere
  } cases[] = {
      {"TEL:02-1", "전화"},
      {"TEL;HOME;VOICE:02-1", "전화"},
      {"TEL;TYPE=MAIN:02-1", "전화"},
      {"item2.TEL:02-1", "전화"},
      {"TEL;CELL:02-1", "휴대폰"},
      {"TEL;TYPE=\"cell,voice\":02-1", "휴대폰"},
      {"TEL;CELL;WORK:02-1", "휴대폰"},
      {"TEL;TYPE=FAX:02-1", "팩스"},
      {"TEL;HOME;FAX:02-1", "팩스"},
      {"TEL;WORK;FAX:02-1", "회사팩스"},
      {"TEL;TYPE=work,voice:02-1", "회사전화"},
      {"TEL;VALUE=uri;TYPE=work:tel:02-1", "회사전화"},
      {"TEL;PAGER:02-1", ""},
  };
  for (const auto& c : cases) {
    const CardRecord mapped = MapBody(c.line);
    std::map<std::string, std::string> expected;
    if (!c.column.empty()) expected.emplace(c.column, "02-1");
    EXPECT_EQ(Filled(mapped.Record), expected) << c.line;
    EXPECT_EQ(mapped.Dropped.size(), c.column.empty() ? 1u : 0u) << c.line;
  }
}

TEST(VCardMapping, WhichAddressIsTheRecordsOwn) {
  const std::string work = "ADR;TYPE=WORK:;;세종대로 110;중구;서울특별시;04524;\r\n";
  const std::string home = "ADR;TYPE=HOME:;;논현로 508;강남구;서울특별시;06035;\r\n";
  const std::string other = "ADR:;;중앙대로 1;부산진구;부산광역시;47000;\r\n";
  struct {
    std::string what;
    std::string body;
    std::string address, companyAddress;
  } cases[] = {
      {"the only one", other, "부산광역시 부산진구 중앙대로 1", ""},
      {"home before an earlier other", other + home, "서울특별시 강남구 논현로 508", ""},
      {"home before work; work to the company", work + home, "서울특별시 강남구 논현로 508",
       "서울특별시 중구 세종대로 110"},
      {"pref before home", home + "ADR;TYPE=pref:;;중앙대로 1;부산진구;부산광역시;47000;\r\n",
       "부산광역시 부산진구 중앙대로 1", ""},
      {"the stronger PREF",
       "ADR;PREF=2:;;논현로 508;강남구;서울특별시;;\r\nADR;PREF=1:;;세종대로 "
       "110;중구;서울특별시;;\r\n",
       "서울특별시 중구 세종대로 110", ""},
      {"an empty address does not count", "ADR;TYPE=HOME:;;;;;;\r\n" + work,
       "서울특별시 중구 세종대로 110", ""},
  };
  for (const auto& c : cases) {
    const CardRecord mapped = MapBody(c.body + "FN:x");
    EXPECT_EQ(mapped.Record.Value("주소"), c.address) << c.what;
    EXPECT_EQ(mapped.Record.Value("회사주소"), c.companyAddress) << c.what;
  }
}

TEST(VCardMapping, NameFallsBackToFn) {
  struct {
    std::string body;
    std::string name;
  } cases[] = {
      {"N:;;;;\r\nFN:홍길동", "홍길동"},
      {"FN: 홍  길동 ", "홍 길동"},
      {"N:Doe;John;Richter,James;Mr.;Sr.\r\nFN:Mr. John Richter James Doe Sr.", "John Doe"},
      {"ORG:자리즈", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(MapBody(c.body).Record.Value("이름"), c.name) << c.body;
}

TEST(VCardMapping, DroppedNamesWhatCarriesDataOnly) {
  const CardRecord mapped = MapBody(
      "PRODID:-//x//y\r\nUID:1\r\nREV:2024\r\nFN:홍길동\r\nitem1.X-ABLabel:_$!<Other>!$_\r\n"
      "LABEL:서울\r\nNOTE:\r\nEMAIL:a@b\r\nEMAIL:c@d\r\nURL:http://x\r\nTITLE:과장\r\n"
      "TITLE:팀장");
  EXPECT_THAT(mapped.Dropped, ElementsAre("EMAIL", "URL", "TITLE"));
  EXPECT_EQ(mapped.Record.Value("직책"), "과장");
}

}  // namespace
}  // namespace addressbook
