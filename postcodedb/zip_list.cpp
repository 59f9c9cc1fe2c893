#include "postcodedb/zip_list.h"

#include <algorithm>
#include <functional>

#include "platform/cp949.h"
#include "platform/utf8.h"
#include "postcodedb/csv_line.h"

namespace zipdb {

namespace {

constexpr std::string_view kPostalHeader = "ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
const std::string kZipCode = "우편번호";
const std::string kAddress = "주소";
const std::string kDong = "읍면동";

// The lines of a text, numbered from 1, each without its line end (LF or CRLF).
class TLines {
 public:
  explicit TLines(std::string_view text) : FRest(text) {}

  bool Next(std::string_view& line) {
    if (FRest.empty()) return false;
    std::size_t lf = FRest.find('\n');
    line = FRest.substr(0, lf);
    FRest = lf == std::string_view::npos ? std::string_view() : FRest.substr(lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++FNumber;
    return true;
  }
  int Number() const { return FNumber; }

 private:
  std::string_view FRest;
  int FNumber = 0;
};

// Line ends are plain ASCII in both encodings, so the first bad line is found line by line.
void CheckEncoding(std::string_view bytes, bool (*valid)(std::string_view),
                   const std::string& encoding) {
  if (valid(bytes)) return;
  TLines lines(bytes);
  std::string_view line;
  while (lines.Next(line)) {
    if (!valid(line)) throw EZipListError(lines.Number(), "the text is not valid " + encoding);
  }
  throw EZipListError(std::max(lines.Number(), 1), "the text is not valid " + encoding);
}

// How the fields of a source row become the values of a list row.
struct TLayout {
  std::vector<std::string> Columns;
  std::size_t FieldCount = 0;
  std::function<void(std::vector<std::string>& fields, std::vector<std::string>& cells)> Append;
};

TLayout PostalLayout() {
  enum { ZIPCODE, SIDO, GUGUN, DONG, BUNJI, SEQ, kCount };
  TLayout layout;
  layout.Columns = {kZipCode, kAddress, kDong, "SIDO", "GUGUN", "BUNJI", "SEQ"};
  layout.FieldCount = kCount;
  layout.Append = [](std::vector<std::string>& f, std::vector<std::string>& cells) {
    std::string address;
    for (int part : {SIDO, GUGUN, DONG, BUNJI}) {
      if (f[part].empty()) continue;
      if (!address.empty()) address += ' ';
      address += f[part];
    }
    cells.push_back(std::move(f[ZIPCODE]));
    cells.push_back(std::move(address));
    cells.push_back(f[DONG]);
    for (int kept : {SIDO, GUGUN, BUNJI, SEQ}) cells.push_back(std::move(f[kept]));
  };
  return layout;
}

[[noreturn]] void ThrowWrongHeader() {
  throw EZipListError(1, "the header is neither " + std::string(kPostalHeader) +
                             " (code page 949) nor a UTF-8 header naming the columns " + kZipCode +
                             ", " + kAddress + " and " + kDong);
}

TLayout PlainLayout(std::string_view headerLine) {
  std::vector<std::string> names;
  try {
    names = SplitCsvLine(headerLine);
  } catch (const platform::Exception& e) {
    throw EZipListError(1, e.what());
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].empty())
      throw EZipListError(1, "column " + std::to_string(i + 1) + " has no name");
    if (std::find(names.begin(), names.begin() + i, names[i]) != names.begin() + i) {
      throw EZipListError(1, "the column " + names[i] + " is named twice");
    }
  }
  // Source field index for each list column: the three known ones first, then the rest.
  std::vector<std::size_t> order;
  for (const std::string& known : {kZipCode, kAddress, kDong}) {
    auto it = std::find(names.begin(), names.end(), known);
    if (it == names.end()) ThrowWrongHeader();
    order.push_back(it - names.begin());
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (std::find(order.begin(), order.end(), i) == order.end()) order.push_back(i);
  }
  TLayout layout;
  for (std::size_t i : order) layout.Columns.push_back(names[i]);
  layout.FieldCount = names.size();
  layout.Append = [order](std::vector<std::string>& f, std::vector<std::string>& cells) {
    for (std::size_t i : order) cells.push_back(std::move(f[i]));
  };
  return layout;
}

void ReadRows(TLines& lines, const TLayout& layout, TZipList& list) {
  list.Columns = layout.Columns;
  std::string_view line;
  while (lines.Next(line)) {
    if (line.empty()) continue;
    const int number = lines.Number();
    std::vector<std::string> fields;
    try {
      fields = SplitCsvLine(line);
    } catch (const platform::Exception& e) {
      throw EZipListError(number, e.what());
    }
    if (fields.size() != layout.FieldCount) {
      throw EZipListError(number, std::to_string(fields.size()) + " fields where the header has " +
                                      std::to_string(layout.FieldCount));
    }
    const std::size_t first = list.Cells.size();
    layout.Append(fields, list.Cells);
    if (list.Cells[first].empty()) throw EZipListError(number, "the postcode is empty");
    for (std::size_t c = 0; c < list.Columns.size(); ++c) {
      if (CharCount(list.Cells[first + c]) > static_cast<std::size_t>(kMaxTextChars)) {
        throw EZipListError(number, "the value of " + list.Columns[c] + " is longer than " +
                                        std::to_string(kMaxTextChars) + " characters");
      }
    }
  }
}

std::string_view FirstLine(std::string_view text) {
  TLines lines(text);
  std::string_view line;
  return lines.Next(line) ? line : std::string_view();
}

}  // namespace

std::size_t CharCount(std::string_view utf8) {
  // Every byte but a continuation byte starts a character.
  return std::count_if(utf8.begin(), utf8.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

TZipList ReadZipList(std::string_view bytes) {
  TZipList list;
  if (FirstLine(bytes) == kPostalHeader) {
    CheckEncoding(bytes, platform::IsValidCp949, "code page 949");
    const std::string text = platform::FromCp949(bytes);
    TLines lines(text);
    std::string_view header;
    lines.Next(header);
    ReadRows(lines, PostalLayout(), list);
    return list;
  }
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  CheckEncoding(bytes, platform::IsValidUtf8, "UTF-8");
  TLines lines(bytes);
  std::string_view header;
  if (!lines.Next(header)) ThrowWrongHeader();
  ReadRows(lines, PlainLayout(header), list);
  return list;
}

}  // namespace zipdb
