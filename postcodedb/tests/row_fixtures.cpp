#include "postcodedb/tests/row_fixtures.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/cp949.h"

namespace postcodedb::testing {

std::size_t TStringSource::Read(char* buffer, std::size_t size) {
  const std::size_t count = std::min({size, FChunk, FBytes.size() - FPos});
  std::memcpy(buffer, FBytes.data() + FPos, count);
  FPos += count;
  return count;
}

std::string Lines(const std::vector<std::string>& lines, std::string_view end) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += end;
  }
  return text;
}

std::string Cp949(std::string_view utf8) {
  return platform::ToCp949(utf8);
}

// Written by hand in the published layout: a 읍면 address with a 리, a 가-동 underground with a
// bulk-delivery name, and a 산 lot without a sub-number.
std::vector<std::string> BuildingLines() {
  return {
      "12501|경기도|Gyeonggi-do|양평군|Yangpyeong-gun|양서면|Yangseo-myeon|418303000001|양수로|"
      "Yangsu-ro|0|12|3|4183031021100450002000001||두물머리아파트|4183031021|양서면|양수리|"
      "양서면|0|45|01|2||",
      "04524|서울특별시|Seoul|중구|Jung-gu|||111404100001|세종대로|Sejong-daero|1|2|0|"
      "1114010300100310000000001|시청우체국|시청역|1114010300|태평로1가||소공동|0|31|01||"
      "100-101|001",
      "25342|강원특별자치도|Gangwon-do|평창군|Pyeongchang-gun|대관령면|Daegwallyeong-myeon|"
      "427603000002|올림픽로|Olympic-ro|0|715|0|4276038022200120000000001|||4276038022|대관령면|"
      "횡계리||1|12|01|||",
  };
}

// Written by hand in the ministry's layout: code page 949, no header, a '|' closing each line.
std::vector<std::string> MinistryAddressLines() {
  return {
      "11110101310001200009400000|1111011900|서울특별시|종로구|세종로||0|1|57|111103100014|"
      "세종대로|0|175|0|1111053000|사직동|03172||20110729|0|31|정부서울청사|정부서울청사||",
      // Withdrawn (63): left out.
      "11110101310001200010100000|1111011900|서울특별시|종로구|세종로||0|2|0|111103100014|"
      "세종대로|0|177|0|1111053000|사직동|03172||20110729|0|63||||",
      "41830310211045000200000001|4183031021|경기도|양평군|양서면|양수리|0|45|2|418303000001|"
      "양수로|0|12|3|4183031000|양서면|12501||20120101|1|31|두물머리아파트|두물머리|비고 있음|",
      // Above the road (공중), 공동주택구분 left empty.
      "41135109001001200000000001|4113510900|경기도|성남시 분당구|삼평동||1|12|0|411354000001|"
      "판교역로|2|235|0|4113565500|삼평동|13494||20200101||34||||",
  };
}

// Related lots, not in the order of the addresses; one withdrawn.
std::vector<std::string> MinistryRelatedLotLines() {
  return {
      "41830310211045000200000001|4183031021|경기도|양평군|양서면|양수리|1|46||418303000001|0|12|"
      "3||",
      "11110101310001200009400000|1111011900|서울특별시|종로구|세종로||0|1|68|111103100014|0|175|"
      "0|31|",
      "11110101310001200009400000|1111011900|서울특별시|종로구|세종로||0|1|99|111103100014|0|175|"
      "0|63|",
      "11110101310001200009400000|1111011900|서울특별시|종로구|세종로||0|1|70|111103100014|0|175|"
      "0|31|",
  };
}

std::vector<TAddressRow> ReadAll(const std::vector<std::string>& paths) {
  std::vector<TAddressRow> rows;
  TInputSet(paths).ReadRows([&](const TAddressRow& row) { rows.push_back(row); });
  return rows;
}

EInputError ReadError(const std::vector<std::string>& paths, const TZipLimits& limits) {
  try {
    TInputSet(paths, limits).ReadRows([](const TAddressRow&) {});
  } catch (const EInputError& e) {
    return e;
  }
  ADD_FAILURE() << "no error reading " << ::testing::PrintToString(paths);
  return EInputError("", -1, "no error");
}

std::string SharedDataFile(const std::string& relative, std::string& why) {
  const std::string path = std::string(ZARIZE_SHARED_DATA_DIR) + "/" + relative;
  struct stat status;
  if (stat(path.c_str(), &status) != 0) {
    why = "the shared data file " + path + " is missing";
    return "";
  }
  return path;
}

}  // namespace postcodedb::testing

namespace postcodedb {

void PrintTo(const TAddressRow& row, std::ostream* out) {
  *out << "{kind " << static_cast<int>(row.Kind) << " " << row.Postcode << " | " << row.Sido
       << " | " << row.Sigungu << " | " << row.Eupmyeon << " | road " << row.RoadCode << " "
       << row.RoadName << " level " << static_cast<int>(row.Level) << " " << row.BuildingMain << "-"
       << row.BuildingSub << " ~ " << row.BuildingMainEnd << "-" << row.BuildingSubEnd << " | lot "
       << row.LegalDongCode << " " << row.Lot.LegalDong << " " << row.Lot.Ri
       << (row.Lot.Mountain ? " 산 " : " ") << row.Lot.Main << "-" << row.Lot.Sub << " ~ "
       << row.LotMainEnd << "-" << row.LotSubEnd << " range " << static_cast<int>(row.Range)
       << " | admin " << row.AdminDong << " | names " << row.BuildingName << " / "
       << row.RegisteredBuildingName << " / " << row.BulkDeliveryName << " / " << row.PoBox
       << " apartment " << (row.Apartment ? (*row.Apartment ? "yes" : "no") : "unset") << " | "
       << row.ManagementNumber << " related " << row.RelatedLots.size() << " | " << row.Town
       << " | " << row.LotText << " | " << row.Sequence << "}";
}

}  // namespace postcodedb
