#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/scratch_dir.h"
#include "postcodedb/input_error.h"
#include "postcodedb/tests/row_fixtures.h"

namespace postcodedb {
namespace {

using platform::testing::ScratchDir;
using testing::Cp949;
using testing::Lines;
using testing::ReadAll;

const std::vector<std::string> kAddresses = testing::MinistryAddressLines();
const std::vector<std::string> kRelatedLots = testing::MinistryRelatedLotLines();

std::vector<TAddressRow> ExpectedRows(bool withRelatedLots) {
  TAddressRow a;
  a.ManagementNumber = "11110101310001200009400000";
  a.LegalDongCode = "1111011900";
  a.Sido = "서울특별시";
  a.Sigungu = "종로구";
  a.Lot = {"세종로", "", false, 1, 57};
  a.RoadCode = "111103100014";
  a.RoadName = "세종대로";
  a.BuildingMain = 175;
  a.AdminDong = "사직동";
  a.Postcode = "03172";
  a.Apartment = false;
  a.RegisteredBuildingName = "정부서울청사";
  a.BuildingName = "정부서울청사";

  TAddressRow c;
  c.ManagementNumber = "41830310211045000200000001";
  c.LegalDongCode = "4183031021";
  c.Sido = "경기도";
  c.Sigungu = "양평군";
  c.Eupmyeon = "양서면";
  c.Lot = {"양서면", "양수리", false, 45, 2};
  c.RoadCode = "418303000001";
  c.RoadName = "양수로";
  c.BuildingMain = 12;
  c.BuildingSub = 3;
  c.AdminDong = "양서면";
  c.Postcode = "12501";
  c.Apartment = true;
  c.RegisteredBuildingName = "두물머리아파트";
  c.BuildingName = "두물머리";

  TAddressRow d;
  d.ManagementNumber = "41135109001001200000000001";
  d.LegalDongCode = "4113510900";
  d.Sido = "경기도";
  d.Sigungu = "성남시 분당구";
  d.Lot = {"삼평동", "", true, 12, 0};
  d.RoadCode = "411354000001";
  d.RoadName = "판교역로";
  d.Level = TRoadLevel::Aerial;
  d.BuildingMain = 235;
  d.AdminDong = "삼평동";
  d.Postcode = "13494";

  if (withRelatedLots) {
    a.RelatedLots = {{"세종로", "", false, 1, 68}, {"세종로", "", false, 1, 70}};
    c.RelatedLots = {{"양서면", "양수리", true, 46, 0}};
  }
  return {a, c, d};
}

TEST(MinistryFiles, AddressesJoinedWithTheirRegionsRelatedLots) {
  ScratchDir dir;
  const std::string addresses = dir.Write("rnaddrkor_seoul.txt", Cp949(Lines(kAddresses, "\r\n")));
  const std::string lots = dir.Write("lots/JIBUN_RNADDRKOR_SEOUL.TXT", Cp949(Lines(kRelatedLots)));
  // The related lots may come before or after their addresses on the command line.
  EXPECT_EQ(ReadAll({lots, addresses}), ExpectedRows(true));
  EXPECT_EQ(ReadAll({addresses, lots}), ExpectedRows(true));
  // Without its related-lot file an address file still reads.
  EXPECT_EQ(ReadAll({addresses}), ExpectedRows(false));
}

TEST(MinistryFiles, RelatedLotsOfAnotherRegionAreNotJoined) {
  ScratchDir dir;
  const std::string addresses = dir.Write("rnaddrkor_seoul.txt", Cp949(Lines(kAddresses)));
  const std::string otherAddresses = dir.Write("rnaddrkor_busan.txt", "");
  const std::string otherLots = dir.Write("jibun_rnaddrkor_busan.txt", Cp949(Lines(kRelatedLots)));
  EXPECT_EQ(ReadAll({addresses, otherAddresses, otherLots}), ExpectedRows(false));
}

TEST(MinistryFiles, FilesThatCannotBePairedOrReadStopTheRun) {
  struct TCase {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Files;
    std::string Message;  // a part of what() naming the fault
  };
  const std::string lots = Cp949(Lines(kRelatedLots));
  const std::string addresses = Cp949(Lines(kAddresses));
  const std::vector<TCase> cases = {
      {"lots alone", {{"jibun_rnaddrkor_seoul.txt", lots}}, "related lots without their addresses"},
      {"one region twice",
       {{"a/rnaddrkor_seoul.txt", addresses}, {"b/rnaddrkor_seoul.txt", addresses}},
       "the same region's file as"},
      {"renamed file", {{"addresses.txt", addresses}}, "its name is not rnaddrkor_<지역>.txt"},
      {"short line",
       {{"rnaddrkor_seoul.txt", addresses + Cp949("1|2|3|\n")}},
       "rnaddrkor_seoul.txt: line 5: 3 fields where 24 are expected"},
      {"no management number",
       {{"rnaddrkor_seoul.txt", Cp949("|" + kAddresses[0].substr(kAddresses[0].find('|') + 1))}},
       "line 1: 도로명주소관리번호 '' is not a management number"},
      {"bad lot in related lots",
       {{"rnaddrkor_seoul.txt", addresses},
        {"jibun_rnaddrkor_seoul.txt",
         lots + Cp949("1|2|서울특별시|종로구|세종로||0|x|0|3|0|1|0|31|\n")}},
       "jibun_rnaddrkor_seoul.txt: line 5: 지번본번 'x' is not a number"},
  };
  for (const TCase& c : cases) {
    ScratchDir dir;
    std::vector<std::string> paths;
    for (const auto& [name, bytes] : c.Files) paths.push_back(dir.Write(name, bytes));
    const EInputError e = testing::ReadError(paths);
    EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos)
        << c.Name << ": " << e.what();
  }
}

}  // namespace
}  // namespace postcodedb
