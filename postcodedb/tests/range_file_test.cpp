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
using testing::kBom;
using testing::Lines;
using testing::ReadAll;

const std::string kRoadHeader =
    "구역번호|시도|시도영문|시군구|시군구영문|읍면|읍면영문|도로명|도로명영문|지하여부|"
    "시작건물번호(주)|시작건물번호(부)|끝건물번호(주)|끝건물번호(부)|범위종류";
const std::string kLotHeader =
    "구역번호|시도|시도영문|시군구|시군구영문|읍면동|읍면동영문|리명|산여부|행정동|시작주번지|"
    "시작부번지|끝주번지|끝부번지";

const std::vector<std::string> kRoadRows = {
    "06035|서울특별시|Seoul|강남구|Gangnam-gu|||가로수길|Garosu-gil|0|5|0|45|0|1",
    "06035|서울특별시|Seoul|강남구|Gangnam-gu|||가로수길|Garosu-gil|0|2||38|2|2",
    "12501|경기도|Gyeonggi-do|양평군|Yangpyeong-gun|양서면|Yangseo-myeon|양수로|Yangsu-ro|0|1|0|"
    "200|0|3",
    "06324|서울특별시|Seoul|강남구|Gangnam-gu|||개포로|Gaepo-ro|1|420|0|||0",
};

const std::vector<std::string> kLotRows = {
    "12501|경기도|Gyeonggi-do|양평군|Yangpyeong-gun|양서면|Yangseo-myeon|양수리|0|양서면|1|0|99|5",
    "06035|서울특별시|Seoul|강남구|Gangnam-gu|신사동|Sinsa-dong||0|신사동|501||540|12",
    "25342|강원특별자치도|Gangwon-do|평창군|Pyeongchang-gun|대관령면|Daegwallyeong-myeon|횡계리|1|"
    "대관령면|1|0|30|0",
};

TAddressRow RoadRange(std::string postcode, std::string sido, std::string sigungu,
                      std::string eupmyeon, std::string road, TRoadLevel level, int main, int sub,
                      int mainEnd, int subEnd, TRangeKind kind) {
  TAddressRow row;
  row.Kind = TRowKind::RoadRange;
  row.Postcode = std::move(postcode);
  row.Sido = std::move(sido);
  row.Sigungu = std::move(sigungu);
  row.Eupmyeon = std::move(eupmyeon);
  row.RoadName = std::move(road);
  row.Level = level;
  row.BuildingMain = main;
  row.BuildingSub = sub;
  row.BuildingMainEnd = mainEnd;
  row.BuildingSubEnd = subEnd;
  row.Range = kind;
  return row;
}

TAddressRow LotRange(std::string postcode, std::string sido, std::string sigungu,
                     std::string eupmyeon, TLot first, int mainEnd, int subEnd,
                     std::string adminDong) {
  TAddressRow row;
  row.Kind = TRowKind::LotRange;
  row.Postcode = std::move(postcode);
  row.Sido = std::move(sido);
  row.Sigungu = std::move(sigungu);
  row.Eupmyeon = std::move(eupmyeon);
  row.Lot = std::move(first);
  row.LotMainEnd = mainEnd;
  row.LotSubEnd = subEnd;
  row.AdminDong = std::move(adminDong);
  row.Range = TRangeKind::All;
  return row;
}

TEST(RangeFiles, RoadAndLotRangesWithTheirBoundsAndKinds) {
  ScratchDir dir;
  // The ranges are UTF-8; whether a byte-order mark leads them does not matter.
  const std::string roads = dir.Write("도로명범위.txt", Lines({kRoadHeader}) + Lines(kRoadRows));
  const std::string lots =
      dir.Write("지번범위.txt", std::string(kBom) + Lines({kLotHeader}) + Lines(kLotRows, "\r\n"));
  const std::vector<TAddressRow> expected = {
      RoadRange("06035", "서울특별시", "강남구", "", "가로수길", TRoadLevel::Ground, 5, 0, 45, 0,
                TRangeKind::Odd),
      RoadRange("06035", "서울특별시", "강남구", "", "가로수길", TRoadLevel::Ground, 2, 0, 38, 2,
                TRangeKind::Even),
      RoadRange("12501", "경기도", "양평군", "양서면", "양수로", TRoadLevel::Ground, 1, 0, 200, 0,
                TRangeKind::All),
      // A single address: the empty end is the start.
      RoadRange("06324", "서울특별시", "강남구", "", "개포로", TRoadLevel::Underground, 420, 0, 420,
                0, TRangeKind::Single),
      LotRange("12501", "경기도", "양평군", "양서면", {"양서면", "양수리", false, 1, 0}, 99, 5,
               "양서면"),
      LotRange("06035", "서울특별시", "강남구", "", {"신사동", "", false, 501, 0}, 540, 12,
               "신사동"),
      LotRange("25342", "강원특별자치도", "평창군", "대관령면", {"대관령면", "횡계리", true, 1, 0},
               30, 0, "대관령면"),
  };
  EXPECT_EQ(ReadAll({roads, lots}), expected);
  // An older edition in code page 949 reads the same.
  const std::string cp949Roads =
      dir.Write("roads-949.txt", Cp949(Lines({kRoadHeader}) + Lines(kRoadRows)));
  EXPECT_EQ(ReadAll({cp949Roads}),
            std::vector<TAddressRow>(expected.begin(), expected.begin() + 4));
}

TEST(RangeFiles, ABadRangeStopsAtItsLine) {
  struct TCase {
    std::string Header;
    std::string Row;
    std::string Reason;
  };
  const std::vector<TCase> cases = {
      {kRoadHeader, "06035|서울특별시|Seoul|강남구|Gangnam-gu|||가로수길|Garosu-gil|0|45|0|5|0|1",
       "the range ends before it starts"},
      {kRoadHeader, "06035|서울특별시|Seoul|강남구|Gangnam-gu|||가로수길|Garosu-gil|0|5|0|45|0|4",
       "범위종류 '4' is not one of the codes 0 to 3"},
      {kRoadHeader, "06035|서울특별시|Seoul|강남구|Gangnam-gu|||가로수길|Garosu-gil|0|5|0|45|0",
       "14 fields where 15 are expected"},
      {kLotHeader,
       "06035|서울특별시|Seoul|강남구|Gangnam-gu|신사동|Sinsa-dong||0|신사동|501|3|501|2",
       "the range ends before it starts"},
      {kLotHeader, "06035|서울특별시|Seoul|강남구|Gangnam-gu|신사동|Sinsa-dong||0|신사동||0|540|0",
       "시작주번지 '' is not a number"},
  };
  for (const TCase& c : cases) {
    ScratchDir dir;
    const std::string path = dir.Write("range.txt", Lines({c.Header, c.Row}));
    const EInputError e = testing::ReadError({path});
    EXPECT_EQ(e.Line, 2) << c.Row;
    EXPECT_EQ(e.Reason, c.Reason) << c.Row;
  }
}

}  // namespace
}  // namespace postcodedb
