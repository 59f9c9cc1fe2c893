#pragma once

#include <string>
#include <string_view>

namespace platform {

// Names the outside world spells in either case (settings sections and keys, connection-string
// properties, driver items, vCard properties, column names, file masks) are matched and changed in
// ASCII only: A-Z and a-z, never by the locale, and every other byte (Hangul included) exactly as
// it is.

// Whether a and b are the same text but for the case of ASCII letters.
bool SameText(std::string_view a, std::string_view b);
// Orders text as SameText matches it: negative, zero or positive, as a sorts before, with or
// after b once ASCII letters are lower case.
int CompareText(std::string_view a, std::string_view b);

std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

}  // namespace platform
