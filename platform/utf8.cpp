#include "platform/utf8.h"

namespace platform {

std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

bool IsValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t length = Utf8SequenceLength(bytes);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const std::size_t length = Utf8SequenceLength(text.substr(pos));
  if (length == 0) {
    ++pos;
    return kReplacementCharacter;
  }
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  // The lead byte keeps 7 bits alone, else 6 less one per byte of the sequence.
  char32_t c = length == 1 ? byte(0) : byte(0) & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (byte(i) & 0x3F);
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

}  // namespace platform
