#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/testing/scratch_dir.h"
#include "postcodedb/input_error.h"
#include "postcodedb/record_reader.h"
#include "postcodedb/tests/row_fixtures.h"

namespace postcodedb {
namespace {

using platform::testing::ScratchDir;
using testing::Cp949;
using testing::kBom;
using testing::Lines;
using testing::ReadAll;

const std::string kHeader(testing::kBuildingHeader);
const std::vector<std::string> kRows = testing::BuildingLines();

std::vector<TAddressRow> ExpectedRows() {
  TAddressRow a;
  a.Postcode = "12501";
  a.Sido = "경기도";
  a.Sigungu = "양평군";
  a.Eupmyeon = "양서면";
  a.RoadCode = "418303000001";
  a.RoadName = "양수로";
  a.BuildingMain = 12;
  a.BuildingSub = 3;
  a.ManagementNumber = "4183031021100450002000001";
  a.BuildingName = "두물머리아파트";
  a.LegalDongCode = "4183031021";
  a.Lot = {"양서면", "양수리", false, 45, 2};
  a.AdminDong = "양서면";

  TAddressRow b;
  b.Postcode = "04524";
  b.Sido = "서울특별시";
  b.Sigungu = "중구";
  b.RoadCode = "111404100001";
  b.RoadName = "세종대로";
  b.Level = TRoadLevel::Underground;
  b.BuildingMain = 2;
  b.ManagementNumber = "1114010300100310000000001";
  b.BulkDeliveryName = "시청우체국";
  b.BuildingName = "시청역";
  b.LegalDongCode = "1114010300";
  b.Lot = {"태평로1가", "", false, 31, 0};
  b.AdminDong = "소공동";

  TAddressRow c;
  c.Postcode = "25342";
  c.Sido = "강원특별자치도";
  c.Sigungu = "평창군";
  c.Eupmyeon = "대관령면";
  c.RoadCode = "427603000002";
  c.RoadName = "올림픽로";
  c.BuildingMain = 715;
  c.ManagementNumber = "4276038022200120000000001";
  c.LegalDongCode = "4276038022";
  c.Lot = {"대관령면", "횡계리", true, 12, 0};
  return {a, b, c};
}

struct TEdition {
  const char* Name;
  std::string Bytes;
};

class BuildingFileEditions : public ::testing::TestWithParam<TEdition> {};

TEST_P(BuildingFileEditions, ReadsEveryColumnTheRowModelHolds) {
  ScratchDir dir;
  const std::string path = dir.Write("경기도.txt", GetParam().Bytes);
  EXPECT_EQ(ReadAll({path}), ExpectedRows());
}

std::vector<std::string> WithHeader(const std::vector<std::string>& rows) {
  std::vector<std::string> lines = {kHeader};
  lines.insert(lines.end(), rows.begin(), rows.end());
  return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, BuildingFileEditions,
    ::testing::Values(TEdition{"Utf8WithBom", std::string(kBom) + Lines(WithHeader(kRows))},
                      TEdition{"Cp949", Cp949(Lines(WithHeader(kRows), "\r\n"))},
                      // A blank last line and no line end after the last row.
                      TEdition{"Utf8TrailingBlank",
                               std::string(kBom) + Lines(WithHeader(kRows)) + "\n"},
                      TEdition{"NoFinalLineEnd",
                               [] {
                                 std::string text = std::string(kBom) + Lines(WithHeader(kRows));
                                 text.pop_back();
                                 return text;
                               }()}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TBadBuildingFile {
  const char* Name;
  std::string Bytes;
  int Line;
  std::string Reason;
};

class BadBuildingFile : public ::testing::TestWithParam<TBadBuildingFile> {};

TEST_P(BadBuildingFile, StopsWithTheFileLineAndReason) {
  ScratchDir dir;
  const std::string path = dir.Write("bad.txt", GetParam().Bytes);
  const EInputError e = testing::ReadError({path});
  EXPECT_EQ(e.File, path);
  EXPECT_EQ(e.Line, GetParam().Line);
  EXPECT_NE(e.Reason.find(GetParam().Reason), std::string::npos) << e.what();
  EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
}

std::string Replaced(std::string row, int column, const std::string& value) {
  std::vector<std::string_view> fields;
  SplitFields(row, '|', fields);
  std::string out;
  for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
    if (i > 0) out += '|';
    out += i == column ? std::string_view(value) : fields[i];
  }
  return out;
}

std::string Utf8File(const std::vector<std::string>& rows) {
  return std::string(kBom) + Lines(WithHeader(rows));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BadBuildingFile,
    ::testing::Values(
        TBadBuildingFile{"MissingColumn",
                         Utf8File({kRows[0], kRows[1].substr(0, kRows[1].rfind('|'))}), 3,
                         "25 fields where 26 are expected"},
        TBadBuildingFile{"ShortPostcode", Utf8File({Replaced(kRows[0], 0, "1250")}), 2,
                         "우편번호 '1250' is not a five-digit postcode"},
        TBadBuildingFile{"LetterInNumber", Utf8File({Replaced(kRows[0], 11, "12a")}), 2,
                         "건물번호본번 '12a' is not a number"},
        TBadBuildingFile{"EmptyMainNumber", Utf8File({Replaced(kRows[0], 21, "")}), 2,
                         "지번본번 '' is not a number"},
        TBadBuildingFile{"HugeNumber", Utf8File({Replaced(kRows[0], 21, "12345678901")}), 2,
                         "지번본번 '12345678901' is not a number"},
        TBadBuildingFile{"UndergroundCode", Utf8File({Replaced(kRows[0], 10, "2")}), 2,
                         "지하여부 '2' is not one of the codes 0 to 1"},
        TBadBuildingFile{"MountainCode", Utf8File({Replaced(kRows[0], 20, "Y")}), 2,
                         "산여부 'Y' is not one of the codes 0 to 1"},
        TBadBuildingFile{"BrokenUtf8", Utf8File({kRows[0], "06000|\xEC\x84|" + kRows[1]}), 3,
                         "not valid UTF-8"},
        TBadBuildingFile{"Cp949RowInUtf8File",
                         std::string(kBom) + Lines({kHeader, kRows[0]}) + Cp949(kRows[1]) + "\n", 3,
                         "not valid UTF-8"},
        TBadBuildingFile{"BrokenCp949", Cp949(Lines({kHeader, kRows[0]})) + "\x81\x20\n", 3,
                         "not valid code page 949"},
        TBadBuildingFile{"NulByte", Utf8File({kRows[0], std::string("a\0b", 3)}), 3, "NUL"},
        TBadBuildingFile{"EndlessLine",
                         std::string(kBom) + kHeader + "\n" + std::string(70000, '1'), 2,
                         "longer than 65536 bytes"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The genuine slice, compared field by field with a plain split of the same lines, so every
// row and every column the model holds is checked against what the file gives.
TEST(GenuineBuildingFile, EveryRowIsReadWithTheValuesTheFileGives) {
  std::string why;
  const std::string path =
      testing::SharedDataFile("postcode-kr-road/building-db-seoul-20231205-first5000.txt", why);
  if (path.empty()) GTEST_SKIP() << why;

  const std::vector<TAddressRow> rows = ReadAll({path});
  std::ifstream in(path, std::ios::binary);
  std::string line;
  std::getline(in, line);  // the header
  std::size_t index = 0;
  auto number = [](std::string_view text) {
    return text.empty() ? 0 : std::stoi(std::string(text));
  };
  while (std::getline(in, line)) {
    ASSERT_LT(index, rows.size());
    std::vector<std::string_view> f;
    SplitFields(line, '|', f);
    ASSERT_EQ(f.size(), 26u);
    const TAddressRow& row = rows[index++];
    SCOPED_TRACE(line);
    EXPECT_EQ(row.Postcode, f[0]);
    EXPECT_EQ(row.Sido, f[1]);
    EXPECT_EQ(row.Sigungu, f[3]);
    EXPECT_EQ(row.Eupmyeon, f[5]);
    EXPECT_EQ(row.RoadCode, f[7]);
    EXPECT_EQ(row.RoadName, f[8]);
    EXPECT_EQ(static_cast<int>(row.Level), number(f[10]));
    EXPECT_EQ(row.BuildingMain, number(f[11]));
    EXPECT_EQ(row.BuildingSub, number(f[12]));
    EXPECT_EQ(row.ManagementNumber, f[13]);
    EXPECT_EQ(row.BulkDeliveryName, f[14]);
    EXPECT_EQ(row.BuildingName, f[15]);
    EXPECT_EQ(row.LegalDongCode, f[16]);
    EXPECT_EQ(row.Lot.LegalDong, f[17]);
    EXPECT_EQ(row.Lot.Ri, f[18]);
    EXPECT_EQ(row.AdminDong, f[19]);
    EXPECT_EQ(row.Lot.Mountain, f[20] == "1");
    EXPECT_EQ(row.Lot.Main, number(f[21]));
    EXPECT_EQ(row.Lot.Sub, number(f[23]));
    EXPECT_FALSE(row.Apartment.has_value());
  }
  EXPECT_EQ(index, 4999u);
  EXPECT_EQ(rows.size(), 4999u);
}

}  // namespace
}  // namespace postcodedb
