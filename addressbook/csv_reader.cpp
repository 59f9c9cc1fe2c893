#include "addressbook/csv_reader.h"

#include <algorithm>
#include <sstream>

#include "platform/cp949.h"
#include "platform/utf8.h"

namespace addressbook {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kChunkBytes = 64 * 1024;

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The first line of `bytes` (counted from `line`) that `valid` refuses, 0 when it takes them all.
// LF never occurs inside a character of either encoding, so the text can be cut there first.
template <typename Validator>
int FirstInvalidLine(std::string_view bytes, int line, Validator valid) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    if (!valid(bytes.substr(start, end - start))) return line;
    if (end == bytes.size()) return 0;
    start = end + 1;
    ++line;
  }
}

}  // namespace

CsvReader::CsvReader(std::istream& in, TextEncoding encoding)
    : FIn(in), FEncoding(encoding), FBuffer(kChunkBytes) {}

int CsvReader::Peek() {
  if (FPos == FEnd) {
    FIn.read(FBuffer.data(), static_cast<std::streamsize>(FBuffer.size()));
    FEnd = static_cast<std::size_t>(FIn.gcount());
    FPos = 0;
    if (FEnd == 0) {
      if (FIn.bad()) throw ECsvError(FLine, "the file cannot be read");
      return -1;
    }
  }
  return static_cast<unsigned char>(FBuffer[FPos]);
}

void CsvReader::Append(RawField& field, char c) {
  if (field.Bytes.size() == FLimits.FieldBytes)
    throw ECsvError(FLine, "a value is longer than any column of the table holds");
  field.Bytes += c;
}

void CsvReader::ReadPlainField(RawField& field) {
  for (int c = Peek(); c >= 0 && c != ',' && c != '\n'; c = Peek()) {
    Advance();
    // A CR ends the field only as part of CRLF; alone it is data.
    if (c == '\r' && Peek() == '\n') return;
    Append(field, static_cast<char>(c));
  }
}

void CsvReader::ReadQuotedField(RawField& field) {
  const int opened = FLine;
  Advance();
  for (;;) {
    const int c = Peek();
    if (c < 0) throw ECsvError(opened, "a quoted value is never closed");
    Advance();
    if (c == '"') {
      if (Peek() != '"') break;
      Advance();
    } else if (c == '\n') {
      ++FLine;
    }
    Append(field, static_cast<char>(c));
  }
  int next = Peek();
  if (next == '\r') {
    Advance();
    next = Peek() == '\n' ? '\n' : 'x';
  }
  if (next >= 0 && next != ',' && next != '\n')
    throw ECsvError(FLine, "text follows the closing quote of a value");
}

void CsvReader::DecideEncoding(const std::vector<RawField>& fields, int line) {
  const auto all = [&](bool (*valid)(std::string_view)) {
    return std::all_of(fields.begin(), fields.end(),
                       [&](const RawField& field) { return valid(field.Bytes); });
  };
  if (all(platform::IsValidUtf8)) {
    FEncoding = TextEncoding::Utf8;
  } else if (all(platform::IsValidCp949)) {
    FEncoding = TextEncoding::Cp949;
  } else {
    throw ECsvError(line, "the text is neither UTF-8 nor code page 949");
  }
}

std::string CsvReader::Decode(const RawField& field) {
  if (FEncoding == TextEncoding::Cp949) {
    if (int bad = FirstInvalidLine(field.Bytes, field.Line, platform::IsValidCp949))
      throw ECsvError(bad, "the text is not valid code page 949");
    return platform::FromCp949(field.Bytes);
  }
  if (int bad = FirstInvalidLine(field.Bytes, field.Line, platform::IsValidUtf8))
    throw ECsvError(bad, "the text is not valid UTF-8");
  return field.Bytes;
}

std::optional<CsvRecord> CsvReader::Next() {
  if (!FStarted) {
    FStarted = true;
    // A byte-order mark can only be UTF-8's; it is not part of the first name.
    if (FEncoding != TextEncoding::Cp949 && Peek() >= 0 &&
        std::string_view(FBuffer.data(), FEnd).starts_with(kByteOrderMark)) {
      FPos += kByteOrderMark.size();
      FEncoding = TextEncoding::Utf8;
    }
  }
  if (Peek() < 0) return std::nullopt;

  const int line = FLine;
  std::vector<RawField> fields;
  for (;;) {
    if (fields.size() == FLimits.Fields)
      throw ECsvError(line, "more than " + std::to_string(FLimits.Fields) + " fields");
    fields.push_back({FLine, {}});
    if (Peek() == '"')
      ReadQuotedField(fields.back());
    else
      ReadPlainField(fields.back());
    const int c = Peek();
    if (c == ',') {
      Advance();
      continue;
    }
    if (c == '\n') {
      Advance();
      ++FLine;
    }
    break;
  }

  if (FEncoding == TextEncoding::Detect &&
      !std::all_of(fields.begin(), fields.end(),
                   [](const RawField& field) { return IsAscii(field.Bytes); }))
    DecideEncoding(fields, line);
  CsvRecord record;
  record.Line = line;
  record.Fields.reserve(fields.size());
  for (const RawField& field : fields) record.Fields.push_back(Decode(field));
  return record;
}

std::vector<CsvRecord> ReadCsvRecords(std::string_view bytes, TextEncoding encoding) {
  std::istringstream in{std::string(bytes)};
  CsvReader reader(in, encoding);
  std::vector<CsvRecord> records;
  while (std::optional<CsvRecord> record = reader.Next()) records.push_back(std::move(*record));
  return records;
}

}  // namespace addressbook
