#include "postcodedb/record_reader.h"

#include <algorithm>

namespace postcodedb {
namespace {

bool IsBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A value as an error shows it: long ones cut at a character boundary.
std::string Excerpt(std::string_view value) {
  constexpr std::size_t kShown = 60;
  if (value.size() <= kShown) return std::string(value);
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
  return std::string(value.substr(0, cut)) + "...";
}

}  // namespace

void SplitFields(std::string_view line, char separator, std::vector<std::string_view>& fields) {
  fields.clear();
  while (true) {
    const std::size_t at = line.find(separator);
    fields.push_back(line.substr(0, at));
    if (at == std::string_view::npos) return;
    line.remove_prefix(at + 1);
  }
}

TRecordReader::TRecordReader(TTextLines& lines, std::vector<std::string_view> columns,
                             bool closingSeparator)
    : FLines(lines), FColumns(std::move(columns)), FClosingSeparator(closingSeparator) {}

bool TRecordReader::Next() {
  std::string_view line;
  do {
    if (!FLines.Next(line)) return false;
  } while (IsBlank(line));
  if (FClosingSeparator && line.ends_with('|')) line.remove_suffix(1);
  SplitFields(line, '|', FFields);
  if (FFields.size() != FColumns.size()) {
    Fail(std::to_string(FFields.size()) + " fields where " + std::to_string(FColumns.size()) +
         " are expected");
  }
  return true;
}

void TRecordReader::FailColumn(int column, const std::string& what) const {
  Fail(std::string(FColumns[column]) + " '" + Excerpt(FFields[column]) + "' " + what);
}

int TRecordReader::Number(int column, bool optional) const {
  const std::string_view text = FFields[column];
  if (text.empty() && optional) return 0;
  if (text.empty() || text.size() > 9 || !AllDigits(text)) FailColumn(column, "is not a number");
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

int TRecordReader::Code(int column, int highest) const {
  const std::string_view text = FFields[column];
  if (text.size() != 1 || text[0] < '0' || text[0] > '0' + highest) {
    FailColumn(column, "is not one of the codes 0 to " + std::to_string(highest));
  }
  return text[0] - '0';
}

std::string_view TRecordReader::Postcode(int column) const {
  const std::string_view text = FFields[column];
  if (text.size() != 5 || !AllDigits(text)) FailColumn(column, "is not a five-digit postcode");
  return text;
}

}  // namespace postcodedb
