#include "postcodedb/six_digit_reader.h"

#include <algorithm>

#include "platform/errors.h"

namespace postcodedb {
namespace {

enum { kZipcode, kSido, kGugun, kDong, kBunji, kSeq, kFieldCount };

bool IsSixDigitPostcode(std::string_view text) {
  if (text.size() != 7 || text[3] != '-') return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c == '-' || (c >= '0' && c <= '9'); });
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  while (!text.empty()) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find(' '), text.size());
    words.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return words;
}

void TakeDongApart(std::string_view dong, TAddressRow& row) {
  std::vector<std::string_view> words = Words(dong);
  std::size_t next = 0;
  if (next < words.size()) {
    const std::string_view first = words[next++];
    if (first.ends_with("사서함")) {
      row.PoBox = first;
    } else {
      row.Lot.LegalDong = first;
      if (IsEupmyeonName(first)) {
        row.Eupmyeon = first;
        if (next < words.size() && words[next].ends_with("리")) row.Lot.Ri = words[next++];
      }
    }
  }
  for (; next < words.size(); ++next) {
    if (!row.BuildingName.empty()) row.BuildingName += ' ';
    row.BuildingName += words[next];
  }
}

}  // namespace

void SplitCsvFields(std::string_view line, std::vector<std::string>& fields) {
  fields.clear();
  std::size_t pos = 0;
  while (true) {
    std::string& field = fields.emplace_back();
    if (pos < line.size() && line[pos] == '"') {
      ++pos;
      while (true) {
        const std::size_t quote = line.find('"', pos);
        if (quote == std::string_view::npos) {
          throw platform::Exception("a quoted field is not closed");
        }
        field.append(line.substr(pos, quote - pos));
        pos = quote + 1;
        if (pos >= line.size() || line[pos] != '"') break;
        field.push_back('"');
        ++pos;
      }
      if (pos < line.size() && line[pos] != ',') {
        throw platform::Exception("text follows a closing quote");
      }
    } else {
      const std::size_t end = std::min(line.find(',', pos), line.size());
      field.assign(line.substr(pos, end - pos));
      pos = end;
    }
    if (pos >= line.size()) return;
    ++pos;  // the comma
  }
}

TSixDigitReader::TSixDigitReader(std::unique_ptr<TByteSource> source, std::string name)
    : TRowReader(std::move(source), std::move(name), TEncoding::Cp949) {
  std::string_view header;
  if (!FLines.Next(header) || header != kSixDigitHeader) {
    FLines.Fail("the header is not " + std::string(kSixDigitHeader));
  }
}

bool TSixDigitReader::Next(TAddressRow& row) {
  std::string_view line;
  do {
    if (!FLines.Next(line)) return false;
  } while (line.empty());
  try {
    SplitCsvFields(line, FFields);
  } catch (const platform::Exception& e) {
    FLines.Fail(e.what());
  }
  if (FFields.size() != kFieldCount) {
    FLines.Fail(std::to_string(FFields.size()) + " fields where " + std::to_string(kFieldCount) +
                " are expected");
  }
  if (!IsSixDigitPostcode(FFields[kZipcode])) {
    FLines.Fail("ZIPCODE '" + FFields[kZipcode] + "' is not a six-digit postcode (123-456)");
  }
  row = TAddressRow();
  row.Kind = TRowKind::SixDigit;
  row.Postcode = FFields[kZipcode];
  row.Sido = FFields[kSido];
  row.Sigungu = FFields[kGugun];
  row.Town = FFields[kDong];
  row.LotText = FFields[kBunji];
  row.Sequence = FFields[kSeq];
  TakeDongApart(row.Town, row);
  return true;
}

}  // namespace postcodedb
