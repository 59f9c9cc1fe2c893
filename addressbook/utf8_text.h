#pragma once

#include <string>
#include <string_view>

namespace addressbook {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The code point that starts at `pos` of UTF-8 text, moving `pos` past it. A byte that does not
// start a well-formed sequence reads as U+FFFD and moves one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

void AppendCodePoint(std::string& out, char32_t c);

// Characters (code points) of UTF-8 text, as the table's column sizes count them.
std::size_t CharacterCount(std::string_view text);

// Blanks as people type them between words: ASCII white space, the no-break space and the
// ideographic (full-width) space of Korean input methods.
bool IsBlank(char32_t c);

// Hangul, Han characters and kana: scripts whose personal names are written family name first
// with no blank before the given name.
bool IsEastAsianLetter(char32_t c);
bool ContainsEastAsianLetter(std::string_view text);

// The text without blanks at either end.
std::string_view TrimBlanks(std::string_view text);

// Runs of blanks (line breaks included) become one ASCII space; blanks at the ends go.
std::string CollapseBlanks(std::string_view text);

}  // namespace addressbook
