#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace postcodedb {

// What one input row describes.
enum class TRowKind {
  Building,   // one address: a line of the postal service's per-building file or the ministry's
  RoadRange,  // a run of building numbers on one road sharing a postcode
  LotRange,   // a run of lot numbers in one 동 or 리 sharing a postcode
  SixDigit,   // a line of the old six-digit list
};

// Where a building stands relative to its road (the ministry also knows buildings above a road).
enum class TRoadLevel { Ground = 0, Underground = 1, Aerial = 2 };

// Which numbers between a range's bounds belong to it, as the range files code it.
enum class TRangeKind { Single = 0, Odd = 1, Even = 2, All = 3 };

// A lot (지번): the area it lies in and its number.
struct TLot {
  // The 법정동; in a 읍/면 what the file's 법정동 column holds (the 읍/면 itself in the ministry's
  // files and the range files), with the 리 beside it.
  std::string LegalDong;
  std::string Ri;
  bool Mountain = false;  // 산
  int Main = 0;
  int Sub = 0;  // 0 when the lot has no sub-number

  bool operator==(const TLot&) const = default;
};

// One row of any input: the values the file gives, every text in UTF-8.
// Fields an input does not have stay empty (numbers 0).
struct TAddressRow {
  TRowKind Kind = TRowKind::Building;
  std::string Postcode;  // five digits; "123-456" in the six-digit list

  std::string Sido;
  std::string Sigungu;   // may hold two words ("성남시 분당구"), empty in 세종
  std::string Eupmyeon;  // the 읍 or 면, empty in a 동

  std::string RoadCode;
  std::string RoadName;
  TRoadLevel Level = TRoadLevel::Ground;
  int BuildingMain = 0;  // a range's first building number
  int BuildingSub = 0;

  std::string LegalDongCode;
  TLot Lot;               // the building's lot; a lot range's first lot
  std::string AdminDong;  // 행정동

  std::string BuildingName;            // 시군구용건물명
  std::string RegisteredBuildingName;  // 건축물대장건물명 (ministry only)
  std::string BulkDeliveryName;        // 다량배달처명
  std::string PoBox;                   // a post-office box's name (six-digit list only)
  // 공동주택 as the ministry marks it; nullopt where the input does not say.
  std::optional<bool> Apartment;
  std::string ManagementNumber;   // 건물관리번호 / 도로명주소관리번호
  std::vector<TLot> RelatedLots;  // further lots of the building (ministry only)

  // Ranges: the last number of the run and which numbers of it count.
  TRangeKind Range = TRangeKind::Single;
  int BuildingMainEnd = 0;
  int BuildingSubEnd = 0;
  int LotMainEnd = 0;
  int LotSubEnd = 0;

  // The six-digit list's own columns as written: DONG, BUNJI (a number, a range or empty) and SEQ.
  std::string Town;
  std::string LotText;
  std::string Sequence;

  bool operator==(const TAddressRow&) const = default;
};

// 읍 and 면 are the only area names that end so; a 동 never does.
inline bool IsEupmyeonName(std::string_view name) {
  return name.size() > 3 && (name.ends_with("읍") || name.ends_with("면"));
}

}  // namespace postcodedb
