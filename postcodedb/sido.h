#pragma once

#include <string>
#include <string_view>

namespace postcodedb {

// The short name a 시도 goes by in every edition of the files and in what users type: "서울" for
// 서울, 서울시 and 서울특별시, "강원" for 강원도 and 강원특별자치도, "전북" for 전라북도 and
// 전북특별자치도 ... ; "" when the text names no 시도. 광주시 and 제주시 are left to the 시군구
// they also name (경기도 광주시, 제주특별자치도 제주시).
std::string SidoKey(std::string_view name);

}  // namespace postcodedb
