#include "postcodedb/address_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace postcodedb {
namespace {

// Builds a Building row of a case.
struct A {
  TAddressRow Row;

  A(std::string sido, std::string sigungu, std::string eupmyeon = "") {
    Row.Sido = std::move(sido);
    Row.Sigungu = std::move(sigungu);
    Row.Eupmyeon = std::move(eupmyeon);
  }
  A& Road(std::string name, int main, int sub = 0, TRoadLevel level = TRoadLevel::Ground) {
    Row.RoadName = std::move(name);
    Row.BuildingMain = main;
    Row.BuildingSub = sub;
    Row.Level = level;
    return *this;
  }
  A& Lot(std::string legalDong, std::string ri, int main, int sub = 0, bool mountain = false) {
    Row.Lot = {std::move(legalDong), std::move(ri), mountain, main, sub};
    return *this;
  }
  A& Names(std::string building, std::string registered = "") {
    Row.BuildingName = std::move(building);
    Row.RegisteredBuildingName = std::move(registered);
    return *this;
  }
  A& Apartment(bool apartment) {
    Row.Apartment = apartment;
    return *this;
  }
};

struct TCompositionCase {
  const char* What;
  A Address;
  std::string Road;
  std::string Lot;
};

constexpr TRoadLevel kUnderground = TRoadLevel::Underground;
constexpr TRoadLevel kAerial = TRoadLevel::Aerial;

const std::vector<TCompositionCase> kCases = {
    {"a 동 and a building that is not 공동주택",
     A("서울특별시", "종로구")
         .Road("세종대로", 175)
         .Lot("세종로", "", 1, 57)
         .Names("정부서울청사", "정부서울청사")
         .Apartment(false),
     "서울특별시 종로구 세종대로 175 (세종로)", "서울특별시 종로구 세종로 1-57"},
    {"읍면 and 리, marked 공동주택: its name alone in brackets",
     A("경기도", "양평군", "양서면")
         .Road("양수로", 12, 3)
         .Lot("양서면", "양수리", 45, 2)
         .Names("두물머리", "두물머리아파트")
         .Apartment(true),
     "경기도 양평군 양서면 양수로 12-3 (두물머리)", "경기도 양평군 양서면 양수리 45-2"},
    {"a 가 is a 동; underground",
     A("서울특별시", "중구")
         .Road("세종대로", 2, 0, kUnderground)
         .Lot("태평로1가", "", 31)
         .Names("시청역"),
     "서울특별시 중구 세종대로 지하 2 (태평로1가)", "서울특별시 중구 태평로1가 31"},
    {"above the road, 산 lot, two-word 시군구",
     A("경기도", "성남시 분당구").Road("판교역로", 235, 0, kAerial).Lot("삼평동", "", 12, 0, true),
     "경기도 성남시 분당구 판교역로 공중 235 (삼평동)", "경기도 성남시 분당구 삼평동 산 12"},
    {"no mark, an apartment by its name",
     A("서울특별시", "강남구").Road("삼성로", 11).Lot("개포동", "", 12).Names("개포우성아파트"),
     "서울특별시 강남구 삼성로 11 (개포동, 개포우성아파트)", "서울특별시 강남구 개포동 12"},
    {"no mark, a building of another use",
     A("서울특별시", "강남구")
         .Road("테헤란로", 152)
         .Lot("역삼동", "", 737)
         .Names("강남파이낸스센터"),
     "서울특별시 강남구 테헤란로 152 (역삼동)", "서울특별시 강남구 역삼동 737"},
    {"the ministry's mark outweighs the name",
     A("서울특별시", "강남구")
         .Road("삼성로", 11)
         .Lot("개포동", "", 12)
         .Names("개포우성아파트", "개포우성아파트")
         .Apartment(false),
     "서울특별시 강남구 삼성로 11 (개포동)", "서울특별시 강남구 개포동 12"},
    {"marked 공동주택 with only the register's name",
     A("서울특별시", "강남구")
         .Road("삼성로", 11, 2)
         .Lot("개포동", "", 12, 1)
         .Names("", "개포빌라")
         .Apartment(true),
     "서울특별시 강남구 삼성로 11-2 (개포동, 개포빌라)", "서울특별시 강남구 개포동 12-1"},
    {"marked 공동주택 without a name",
     A("서울특별시", "강남구").Road("삼성로", 11).Lot("개포동", "", 12).Apartment(true),
     "서울특별시 강남구 삼성로 11 (개포동)", "서울특별시 강남구 개포동 12"},
    {"세종 has no 시군구", A("세종특별자치시", "").Road("한누리대로", 2130).Lot("보람동", "", 1),
     "세종특별자치시 한누리대로 2130 (보람동)", "세종특별자치시 보람동 1"},
    {"읍면 and 리, no reference part; 산 lot",
     A("강원특별자치도", "평창군", "대관령면")
         .Road("올림픽로", 715)
         .Lot("대관령면", "횡계리", 12, 0, true),
     "강원특별자치도 평창군 대관령면 올림픽로 715", "강원특별자치도 평창군 대관령면 횡계리 산 12"},
    {"읍 whose lot names the 리 as its 법정동",
     A("경기도", "가평군", "가평읍")
         .Road("가화로", 40)
         .Lot("읍내리", "", 230)
         .Names("가평현대아파트"),
     "경기도 가평군 가평읍 가화로 40 (가평현대아파트)", "경기도 가평군 가평읍 읍내리 230"},
};

TEST(AddressComposition, RoadAndLotAddressesInTheLegalOrder) {
  for (const TCompositionCase& c : kCases) {
    EXPECT_EQ(RoadAddress(c.Address.Row), c.Road) << c.What;
    EXPECT_EQ(LotAddress(c.Address.Row), c.Lot) << c.What;
  }
}

TEST(AddressComposition, ApartmentNamesForFilesWithoutTheMark) {
  const std::vector<std::pair<std::string, bool>> names = {
      {"개포주공아파트", true},    {"아파트 101동", true},
      {"한신APT", true},           {"Hanshin apt", true},
      {"래미안블레스티지", true},  {"논현 e편한세상", true},
      {"개포자이", true},          {"현대아파트상가", false},
      {"힐스테이트 상가", false},  {"롯데캐슬오피스텔", false},
      {"용산아이파크몰", false},   {"자이빌딩", false},
      {"호텔더디자이너스", false}, {"연립주택", false},
      {"강남파이낸스센터", false}, {"", false},
  };
  for (const auto& [name, apartment] : names) {
    EXPECT_EQ(LooksLikeApartmentName(name), apartment) << name;
  }
}

}  // namespace
}  // namespace postcodedb
