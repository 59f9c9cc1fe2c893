#include "dbengine/value_text.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "platform/ascii_case.h"
#include "platform/errors.h"

namespace dbengine {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string FloatText(double value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

[[noreturn]] void NotA(const std::string& text, const char* what) {
  throw platform::EConvertError("'" + text + "' is not a valid " + what);
}

// Reads 1 to maxDigits digits.
bool ReadDigits(std::string_view& text, int maxDigits, int& value) {
  int digits = 0;
  value = 0;
  while (!text.empty() && digits < maxDigits &&
         std::isdigit(static_cast<unsigned char>(text.front()))) {
    value = value * 10 + (text.front() - '0');
    text.remove_prefix(1);
    ++digits;
  }
  return digits > 0;
}

bool Expect(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"; empty when text is not a date.
std::string NormalizedDateTime(std::string_view text) {
  text = Trim(text);
  int year, month, day, hour = 0, minute = 0, second = 0;
  if (!ReadDigits(text, 4, year) || text.empty()) return {};
  const char separator = text.front();
  if (separator != '-' && separator != '/' && separator != '.') return {};
  if (!Expect(text, separator) || !ReadDigits(text, 2, month) || !Expect(text, separator) ||
      !ReadDigits(text, 2, day))
    return {};
  if (!text.empty()) {
    if (!std::isspace(static_cast<unsigned char>(text.front()))) return {};
    text = Trim(text);
    if (!ReadDigits(text, 2, hour) || !Expect(text, ':') || !ReadDigits(text, 2, minute)) return {};
    if (!text.empty() && (!Expect(text, ':') || !ReadDigits(text, 2, second))) return {};
    if (!text.empty()) return {};
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour > 23 || minute > 59 || second > 59)
    return {};
  char buffer[32];
  if (hour == 0 && minute == 0 && second == 0)
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
  else
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                  minute, second);
  return buffer;
}

}  // namespace

std::string CellText(const CellView& cell, TFieldType type) {
  switch (cell.Kind) {
    case CellKind::Null:
      return {};
    case CellKind::Integer:
      if (type == ftBoolean) return cell.Integer != 0 ? "True" : "False";
      return std::to_string(cell.Integer);
    case CellKind::Float:
      if (type == ftBoolean) return cell.Float != 0 ? "True" : "False";
      return FloatText(cell.Float);
    case CellKind::Text:
    case CellKind::Blob:
      return std::string(cell.Bytes);
  }
  return {};
}

bool CellBoolean(const CellView& cell) {
  switch (cell.Kind) {
    case CellKind::Integer:
      return cell.Integer != 0;
    case CellKind::Float:
      return cell.Float != 0;
    case CellKind::Text: {
      const std::string_view text = Trim(cell.Bytes);
      return platform::SameText(text, "True") || platform::SameText(text, "Yes") || text == "1";
    }
    default:
      return false;
  }
}

CellValue ValueFromText(const std::string& text, TFieldType type) {
  CellValue value;
  if (type == ftWideString || type == ftUnknown) {
    value.Kind = CellKind::Text;
    value.Bytes = text;
    return value;
  }
  if (Trim(text).empty()) return value;  // null
  switch (type) {
    case ftInteger:
    case ftAutoInc:
      if (!ParseNumber(text, value.Integer)) NotA(text, "integer value");
      value.Kind = CellKind::Integer;
      break;
    case ftFloat:
      if (!ParseNumber(text, value.Float)) NotA(text, "floating point value");
      value.Kind = CellKind::Float;
      break;
    case ftBoolean: {
      const std::string_view word = Trim(text);
      if (platform::SameText(word, "True") || platform::SameText(word, "Yes") || word == "1")
        value.Integer = 1;
      else if (!platform::SameText(word, "False") && !platform::SameText(word, "No") && word != "0")
        NotA(text, "boolean value");
      value.Kind = CellKind::Integer;
      break;
    }
    case ftDateTime:
      value.Bytes = NormalizedDateTime(text);
      if (value.Bytes.empty()) NotA(text, "date");
      value.Kind = CellKind::Text;
      break;
    default:
      break;
  }
  return value;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace dbengine
