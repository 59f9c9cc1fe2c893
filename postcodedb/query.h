#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace postcodedb {

enum class TQueryKind {
  Empty,     // nothing to search for
  Region,    // only a 시도, 시군구 or 읍면
  Postcode,  // five digits
  Road,      // a road name (도로명), maybe with a building number
  Area,      // a 동, 리 or 가, maybe with a lot number
  Building,  // a building's name (시군구용건물명, 다량배달처명)
  PoBox,     // a post-office box (…사서함), maybe with the box's number
};

struct TQueryNumber {
  int Main = 0;
  std::optional<int> Sub;  // nullopt when none was typed

  bool operator==(const TQueryNumber&) const = default;
};

// One query as the search understands it. Names are in NameKey form (no blanks, ASCII in lower
// case), as the database keeps them.
struct TQuery {
  TQueryKind Kind = TQueryKind::Empty;
  std::string SidoKey;  // "서울" for 서울, 서울시 or 서울특별시 (see SidoKey)
  std::vector<std::string> Sigungu;  // each word typed: {"성남시", "분당구"}
  std::string Eupmyeon;
  std::string Name;          // the road, 동/리/가, building or box
  std::string Postcode;      // Kind Postcode
  bool Underground = false;  // 지하 before a building number
  bool Mountain = false;     // 산 before a lot number
  std::optional<TQueryNumber> Number;

  bool operator==(const TQuery&) const = default;
};

// Reads a query as a user types it into the search box:
//   [시도] [시군구 [시군구]] [읍면] then one of
//   a five-digit postcode; a road name [지하] [number[-sub]]; a 동/리/가 [산] [number[-sub]];
//   a name ending in 사서함 [number]; anything else as a building's name.
// Blanks inside a road name do not matter ("중동로 254번길", "논현로 8 길"), nor between a name and
// its number ("논현로508", "개포동산12"). Words after the number (a floor, a flat, the bracketed
// part of a pasted address) are ignored, as is everything from a '(' on.
TQuery ParseQuery(std::string_view text);

}  // namespace postcodedb
