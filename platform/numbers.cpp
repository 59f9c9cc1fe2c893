#include "platform/numbers.h"

#include <cstdint>

#include "platform/errors.h"

namespace platform {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool TryStrToInt(const std::string& text, int& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return false;
  std::uint64_t magnitude = 0;
  const std::uint64_t base = hex ? 16 : 10;
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; i < text.size(); ++i) {
    int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) return false;
    magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) return false;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  value = static_cast<int>(bits);
  return true;
}

int StrToInt(const std::string& text) {
  int value = 0;
  if (!TryStrToInt(text, value)) {
    throw EConvertError("'" + text + "' is not a valid integer value");
  }
  return value;
}

int StrToIntDef(const std::string& text, int defaultValue) {
  int value = 0;
  return TryStrToInt(text, value) ? value : defaultValue;
}

}  // namespace platform
