#pragma once

#include <string>
#include <string_view>

namespace addressbook {

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
