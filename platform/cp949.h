#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text inside the programs is UTF-8; every byte written for the outside (settings values, the CSV
// files, the pick message) is code page 949. These conversions never fail: what cannot be
// converted becomes '?', so a bad byte costs one character and never the whole text.

// A character CP949 cannot hold becomes '?'; each byte of invalid UTF-8 becomes '?'.
std::string ToCp949(std::string_view utf8);
// Each invalid or incomplete CP949 character becomes '?'.
std::string FromCp949(std::string_view cp949);

bool IsValidCp949(std::string_view bytes);

// Length in bytes of the CP949 character that starts at `pos` (1 or 2); 1 for a lone byte that
// cannot start a two-byte character. Lets callers cut CP949 text without splitting a character.
std::size_t Cp949CharLength(std::string_view bytes, std::size_t pos);

}  // namespace platform
