#pragma once

#include <string>
#include <string_view>

namespace addressbook {

// Texts evened out so that two ways of writing the same thing compare equal, for finding
// probable duplicates. None of them is ever stored or shown.

// A name without its blanks, Latin letters in lower case: "홍 길동" and "홍길동" are one.
std::string EvenedName(std::string_view name);

// An address or the rest of one without blanks, and without hyphens except one between two
// digits, which separates numbers (50-8 is not 508) and is kept as '-' whatever dash was typed;
// Latin letters in lower case; and, at the start, the long and short names of a province or
// metropolitan city as one (서울특별시, 서울시, 서울; 전북특별자치도, 전라북도, 전북 ...).
std::string EvenedAddress(std::string_view address);

// A postcode without blanks and hyphens: 135-080 and 135080 are one.
std::string EvenedPostcode(std::string_view postcode);

}  // namespace addressbook
