#include "addressbook/utf8_text.h"

namespace addressbook {

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length;
  char32_t c;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    ++pos;
    return kReplacementCharacter;
  }
  if (pos + length > text.size() || byte(pos + 1) < low || byte(pos + 1) > high) {
    ++pos;
    return kReplacementCharacter;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF) {
      ++pos;
      return kReplacementCharacter;
    }
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  pos += length;
  return c;
}

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) NextCodePoint(text, pos);
  return count;
}

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
    if (IsEastAsianLetter(NextCodePoint(text, pos))) return true;
  }
  return false;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = 0, end = 0;
  bool seenText = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (IsBlank(NextCodePoint(text, pos))) continue;
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
    if (IsBlank(NextCodePoint(text, pos))) {
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
