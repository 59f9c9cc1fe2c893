#include "tools/zarize-db/csv_reader.h"

#include <algorithm>

#include "platform/cp949.h"

namespace zarizedb {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The first line (1-based) that `valid` refuses, 0 when it takes them all. LF never occurs inside
// a character of either encoding, so the text can be cut there first.
template <typename Validator>
int FirstInvalidLine(std::string_view bytes, Validator valid) {
  int line = 1;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    if (!valid(bytes.substr(start, end - start))) return line;
    if (end == bytes.size()) return 0;
    start = end + 1;
    ++line;
  }
}

int FirstInvalidUtf8Line(std::string_view bytes) {
  return FirstInvalidLine(bytes, platform::IsValidUtf8);
}

int FirstInvalidCp949Line(std::string_view bytes) {
  return FirstInvalidLine(bytes, platform::IsValidCp949);
}

std::string FromUtf8(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  if (int line = FirstInvalidUtf8Line(bytes)) throw ECsvError(line, "the text is not valid UTF-8");
  return std::string(bytes);
}

std::string FromCodePage949(std::string_view bytes) {
  if (int line = FirstInvalidCp949Line(bytes))
    throw ECsvError(line, "the text is not valid code page 949");
  return platform::FromCp949(bytes);
}

// Length of the line end at `pos`: 1 for LF, 2 for CRLF, 0 for none. A CR alone is data.
std::size_t LineEndAt(std::string_view text, std::size_t pos) {
  if (pos < text.size() && text[pos] == '\n') return 1;
  if (pos + 1 < text.size() && text[pos] == '\r' && text[pos + 1] == '\n') return 2;
  return 0;
}

bool EndsField(std::string_view text, std::size_t pos) {
  return pos == text.size() || text[pos] == ',' || LineEndAt(text, pos) > 0;
}

class RecordScanner {
 public:
  explicit RecordScanner(std::string_view text) : FText(text) {}

  bool AtEnd() const { return FPos == FText.size(); }

  TCsvRecord Next() {
    TCsvRecord record;
    record.Line = FLine;
    for (;;) {
      record.Fields.push_back(FPos < FText.size() && FText[FPos] == '"' ? QuotedField()
                                                                        : PlainField());
      if (FPos < FText.size() && FText[FPos] == ',') {
        ++FPos;
        continue;
      }
      if (std::size_t end = LineEndAt(FText, FPos)) {
        FPos += end;
        ++FLine;
      }
      return record;
    }
  }

 private:
  std::string PlainField() {
    const std::size_t start = FPos;
    while (!EndsField(FText, FPos)) ++FPos;
    return std::string(FText.substr(start, FPos - start));
  }

  std::string QuotedField() {
    const int opened = FLine;
    std::string field;
    ++FPos;
    for (;;) {
      if (FPos == FText.size()) throw ECsvError(opened, "a quoted value is never closed");
      const char c = FText[FPos++];
      if (c == '"') {
        if (FPos < FText.size() && FText[FPos] == '"') {
          field += '"';
          ++FPos;
          continue;
        }
        break;
      }
      if (c == '\n') ++FLine;
      field += c;
    }
    if (!EndsField(FText, FPos))
      throw ECsvError(FLine, "text follows the closing quote of a value");
    return field;
  }

  std::string_view FText;
  std::size_t FPos = 0;
  int FLine = 1;
};

}  // namespace

std::string DecodeCsvText(std::string_view bytes, TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf8:
      return FromUtf8(bytes);
    case TTextEncoding::Cp949:
      return FromCodePage949(bytes);
    case TTextEncoding::Detect:
      break;
  }
  if (bytes.starts_with(kByteOrderMark)) return FromUtf8(bytes);
  const int badUtf8 = FirstInvalidUtf8Line(bytes);
  if (badUtf8 == 0) return std::string(bytes);
  const int badCp949 = FirstInvalidCp949Line(bytes);
  if (badCp949 == 0) return platform::FromCp949(bytes);
  throw ECsvError(std::max(badUtf8, badCp949), "the text is neither UTF-8 nor code page 949");
}

std::vector<TCsvRecord> ReadCsvRecords(std::string_view text) {
  std::vector<TCsvRecord> records;
  RecordScanner scanner(text);
  while (!scanner.AtEnd()) records.push_back(scanner.Next());
  return records;
}

}  // namespace zarizedb
