#pragma once

#include <string>
#include <string_view>

#include "postcodedb/address_row.h"

namespace postcodedb {

// Whether a building counts as 공동주택 for the reference part of its road address: the
// ministry's mark where the row has one, else what its name says (LooksLikeApartmentName).
bool IsApartment(const TAddressRow& row);

// The rule for files without the mark (the postal service's per-building file): the name holds
// 아파트 (not as 아파트상가), ends in APT, or holds a brand only apartment blocks carry (래미안,
// 힐스테이트, 아이파크, 푸르지오, e편한세상 ...) or ends in 자이 — unless it ends in a word for a
// building of another use (빌딩, 상가, 오피스텔, 센터, 사옥, 호텔, 병원, 학교, 교회, 주차장, 몰,
// 백화점).
// 연립 and 다세대 houses, which the ministry also marks, cannot be told by name and are left out.
bool LooksLikeApartmentName(std::string_view name);

// The road address of a Building row in the legal order:
//   시도 시군구 [읍면] 도로명 [지하 |공중 ]본번[-부번][ (참고항목)]
// The reference part holds, joined by ", ", the 법정동 when the address lies in a 동 (not in a
// 읍/면; a 가 is a 동) and the building's name when it is 공동주택 (IsApartment).
std::string RoadAddress(const TAddressRow& row);

// The lot address of a Building row: 시도 시군구 [읍면] 법정동 [리] [산 ]본번[-부번].
std::string LotAddress(const TAddressRow& row);

}  // namespace postcodedb
