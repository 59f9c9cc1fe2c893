#include "postcodedb/sido.h"

#include <array>

namespace postcodedb {
namespace {

struct TSido {
  std::string_view Key;
  std::array<std::string_view, 3> Names;  // unused places empty
};

const std::array<TSido, 17>& Sidos() {
  static const std::array<TSido, 17> sidos = {{
      {"서울", {"서울", "서울시", "서울특별시"}},
      {"부산", {"부산", "부산시", "부산광역시"}},
      {"대구", {"대구", "대구시", "대구광역시"}},
      {"인천", {"인천", "인천시", "인천광역시"}},
      {"광주", {"광주", "광주광역시"}},
      {"대전", {"대전", "대전시", "대전광역시"}},
      {"울산", {"울산", "울산시", "울산광역시"}},
      {"세종", {"세종", "세종시", "세종특별자치시"}},
      {"경기", {"경기", "경기도"}},
      {"강원", {"강원", "강원도", "강원특별자치도"}},
      {"충북", {"충북", "충청북도"}},
      {"충남", {"충남", "충청남도"}},
      {"전북", {"전북", "전라북도", "전북특별자치도"}},
      {"전남", {"전남", "전라남도"}},
      {"경북", {"경북", "경상북도"}},
      {"경남", {"경남", "경상남도"}},
      {"제주", {"제주", "제주도", "제주특별자치도"}},
  }};
  return sidos;
}

}  // namespace

std::string SidoKey(std::string_view name) {
  for (const TSido& sido : Sidos()) {
    for (std::string_view known : sido.Names) {
      if (!known.empty() && name == known) return std::string(sido.Key);
    }
  }
  return "";
}

}  // namespace postcodedb
