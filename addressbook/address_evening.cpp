#include "addressbook/address_evening.h"

#include <algorithm>
#include <array>
#include <utility>

#include "addressbook/utf8_text.h"
#include "platform/ascii_case.h"
#include "platform/utf8.h"

namespace addressbook {
namespace {

bool IsDash(char32_t c) {
  return c == '-' || (c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == 0xFE63 || c == 0xFF0D;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The names people write for each province and metropolitan city, longest first within each,
// with the short name all of them become.
struct Province {
  std::string_view Short;
  std::array<std::string_view, 3> Long;
};
constexpr std::array<Province, 17> kProvinces = {{
    {"서울", {"서울특별시", "서울시"}},
    {"부산", {"부산광역시", "부산시"}},
    {"대구", {"대구광역시", "대구시"}},
    {"인천", {"인천광역시", "인천시"}},
    {"광주", {"광주광역시", "광주시"}},
    {"대전", {"대전광역시", "대전시"}},
    {"울산", {"울산광역시", "울산시"}},
    {"세종", {"세종특별자치시", "세종시"}},
    {"경기", {"경기도"}},
    {"강원", {"강원특별자치도", "강원도"}},
    {"충북", {"충청북도"}},
    {"충남", {"충청남도"}},
    {"전북", {"전북특별자치도", "전라북도"}},
    {"전남", {"전라남도"}},
    {"경북", {"경상북도"}},
    {"경남", {"경상남도"}},
    {"제주", {"제주특별자치도", "제주도"}},
}};

// The text with its leading province name in the short form.
std::string WithShortProvince(std::string text) {
  std::string_view longest;
  std::string_view replacement;
  for (const Province& province : kProvinces) {
    for (std::string_view name : province.Long) {
      if (!name.empty() && name.size() > longest.size() && text.starts_with(name)) {
        longest = name;
        replacement = province.Short;
      }
    }
  }
  if (!longest.empty()) text.replace(0, longest.size(), replacement);
  return text;
}

// Blanks dropped, every dash as '-'.
std::string WithoutBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t c = platform::NextCodePoint(text, pos);
    if (IsBlank(c)) continue;
    if (IsDash(c)) {
      out.push_back('-');
    } else {
      out.append(text, start, pos - start);
    }
  }
  return out;
}

}  // namespace

std::string EvenedName(std::string_view name) {
  return platform::LowerCase(WithoutBlanks(name));
}

std::string EvenedAddress(std::string_view address) {
  const std::string text = platform::LowerCase(WithoutBlanks(address));
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '-') {
      const bool betweenDigits =
          !out.empty() && IsDigit(out.back()) && i + 1 < text.size() && IsDigit(text[i + 1]);
      if (!betweenDigits) continue;
    }
    out.push_back(text[i]);
  }
  return WithShortProvince(std::move(out));
}

std::string EvenedPostcode(std::string_view postcode) {
  std::string text = platform::LowerCase(WithoutBlanks(postcode));
  std::erase(text, '-');
  return text;
}

}  // namespace addressbook
