#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// UTF-8, the text of the programs: one decoder for every layer.

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Length in bytes of the well-formed UTF-8 sequence at the start of `text`, or 0 when there is
// none there. Well-formed: shortest forms only, no surrogates, nothing beyond U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text);

bool IsValidUtf8(std::string_view bytes);

// The code point that starts at `pos` of UTF-8 text, moving `pos` past it. A byte that does not
// start a well-formed sequence reads as U+FFFD and moves one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

void AppendCodePoint(std::string& out, char32_t c);

}  // namespace platform
