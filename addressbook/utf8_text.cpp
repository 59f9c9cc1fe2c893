#include "addressbook/utf8_text.h"

#include "platform/utf8.h"

namespace addressbook {

bool IsBlank(char32_t c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' ||
         c == U'\u00A0' || c == U'\u3000';
}

bool IsEastAsianLetter(char32_t c) {
  return (c >= 0xAC00 && c <= 0xD7A3)     // Hangul syllables
         || (c >= 0x1100 && c <= 0x11FF)  // Hangul jamo
         || (c >= 0x3130 && c <= 0x318F)  // Hangul compatibility jamo
         || (c >= 0x3040 && c <= 0x30FF)  // hiragana, katakana
         || (c >= 0x3400 && c <= 0x4DBF)  // Han extension A
         || (c >= 0x4E00 && c <= 0x9FFF)  // Han
         || (c >= 0xF900 && c <= 0xFAFF)  // Han compatibility
         || (c >= 0xFF66 && c <= 0xFF9F)  // half-width katakana
         || (c >= 0x20000 && c <= 0x3134F);
}

bool ContainsEastAsianLetter(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    if (IsEastAsianLetter(platform::NextCodePoint(text, pos))) return true;
  }
  return false;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = 0, end = 0;
  bool seenText = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (IsBlank(platform::NextCodePoint(text, pos))) continue;
    if (!seenText) begin = start;
    seenText = true;
    end = pos;
  }
  return seenText ? text.substr(begin, end - begin) : std::string_view();
}

std::string CollapseBlanks(std::string_view text) {
  std::string out;
  bool pendingBlank = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (IsBlank(platform::NextCodePoint(text, pos))) {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out.push_back(' ');
    pendingBlank = false;
    out.append(text.substr(start, pos - start));
  }
  return out;
}

}  // namespace addressbook
