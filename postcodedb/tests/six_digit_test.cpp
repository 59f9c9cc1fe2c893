#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/cp949.h"
#include "platform/testing/scratch_dir.h"
#include "postcodedb/input_error.h"
#include "postcodedb/six_digit_reader.h"
#include "postcodedb/tests/row_fixtures.h"

namespace postcodedb {
namespace {

using platform::testing::ScratchDir;
using testing::Cp949;
using testing::Lines;
using testing::ReadAll;

TAddressRow SixDigit(std::string postcode, std::string sido, std::string gugun, std::string dong,
                     std::string bunji, std::string seq) {
  TAddressRow row;
  row.Kind = TRowKind::SixDigit;
  row.Postcode = std::move(postcode);
  row.Sido = std::move(sido);
  row.Sigungu = std::move(gugun);
  row.Town = std::move(dong);
  row.LotText = std::move(bunji);
  row.Sequence = std::move(seq);
  return row;
}

TEST(SixDigitList, KeepsTheColumnsAsWrittenAndTakesTheTownApart) {
  ScratchDir dir;
  const std::string path = dir.Write(
      "zipcode.csv",
      Cp949(
          Lines({"ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ", "110-062,서울,종로구,신문로2가,,1",
                 "476-830,경기,양평군,양서면 양수리 두물머리아파트,,2", "339-700,세종,,조치원읍,,3",
                 "", "110-600,서울,종로구,광화문우체국사서함,1∼100,4",
                 "135-807,서울,강남구,\"개포1동 우성3차아파트\",\"(1∼6동)\",5"},
                "\r\n")));
  std::vector<TAddressRow> expected = {
      SixDigit("110-062", "서울", "종로구", "신문로2가", "", "1"),
      SixDigit("476-830", "경기", "양평군", "양서면 양수리 두물머리아파트", "", "2"),
      SixDigit("339-700", "세종", "", "조치원읍", "", "3"),
      SixDigit("110-600", "서울", "종로구", "광화문우체국사서함", "1∼100", "4"),
      SixDigit("135-807", "서울", "강남구", "개포1동 우성3차아파트", "(1∼6동)", "5"),
  };
  expected[0].Lot.LegalDong = "신문로2가";
  expected[1].Eupmyeon = expected[1].Lot.LegalDong = "양서면";
  expected[1].Lot.Ri = "양수리";
  expected[1].BuildingName = "두물머리아파트";
  expected[2].Eupmyeon = expected[2].Lot.LegalDong = "조치원읍";
  expected[3].PoBox = "광화문우체국사서함";
  expected[4].Lot.LegalDong = "개포1동";
  expected[4].BuildingName = "우성3차아파트";
  EXPECT_EQ(ReadAll({path}), expected);
}

TEST(SixDigitList, ABadLineStopsAtItsNumber) {
  struct TCase {
    std::string Text;  // UTF-8, stored as code page 949
    std::int64_t Line;
    std::string Reason;
  };
  const std::string header = "ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ\n";
  const std::vector<TCase> cases = {
      {"ZIPCODE,SIDO,GUGUN,DONG,BUNJI\n", 1, "the header is not ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ"},
      {header + "110-062,서울,종로구,신문로2가,1\n", 2, "5 fields where 6 are expected"},
      {header + "110062,서울,종로구,신문로2가,,1\n", 2,
       "ZIPCODE '110062' is not a six-digit postcode (123-456)"},
      {header + "110-062,서울,\"종로구,신문로2가,,1\n", 2, "a quoted field is not closed"},
      {header + "110-062,서울,\"종로\"구,신문로2가,,1\n", 2, "text follows a closing quote"},
  };
  for (const TCase& c : cases) {
    ScratchDir dir;
    const std::string path = dir.Write("zipcode.csv", Cp949(c.Text));
    const EInputError e = testing::ReadError({path});
    EXPECT_EQ(e.Line, c.Line) << c.Reason;
    EXPECT_EQ(e.Reason, c.Reason);
  }
}

// The genuine list, every line against a plain split of it.
TEST(SixDigitList, TheGenuineListIsReadWholeWithTheValuesItGives) {
  std::string why;
  const std::string path = testing::SharedDataFile("zipcode-kr-6digit.cp949.csv", why);
  if (path.empty()) GTEST_SKIP() << why;

  const std::vector<TAddressRow> rows = ReadAll({path});
  std::ifstream in(path, std::ios::binary);
  std::string line;
  std::getline(in, line);
  std::size_t index = 0;
  std::vector<std::string> fields;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    SplitCsvFields(platform::FromCp949(line), fields);
    ASSERT_EQ(fields.size(), 6u);
    ASSERT_LT(index, rows.size());
    const TAddressRow& row = rows[index++];
    EXPECT_EQ(row.Postcode, fields[0]);
    EXPECT_EQ(row.Sido, fields[1]);
    EXPECT_EQ(row.Sigungu, fields[2]);
    EXPECT_EQ(row.Town, fields[3]);
    EXPECT_EQ(row.LotText, fields[4]);
    EXPECT_EQ(row.Sequence, fields[5]);
  }
  EXPECT_EQ(index, rows.size());
  EXPECT_EQ(rows.size(), 52'144u);
}

}  // namespace
}  // namespace postcodedb
