#pragma once

#include <cstddef>
#include <istream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/text_encoding.h"
#include "platform/errors.h"

namespace addressbook {

// A CSV file that cannot be read, with the line (1-based) where the fault is.
class ECsvError : public platform::Exception {
 public:
  ECsvError(int line, const std::string& message)
      : Exception("line " + std::to_string(line) + ": " + message), Line(line) {}
  int Line;
};

struct CsvRecord {
  int Line = 0;  // where the record starts; a quoted line break makes a record span lines
  std::vector<std::string> Fields;

  bool operator==(const CsvRecord&) const = default;
};

// How much one record may hold, so that a huge or hostile file is refused before it is read
// further, instead of being held in memory.
struct CsvLimits {
  std::size_t FieldBytes = std::numeric_limits<std::size_t>::max();  // a value, as in the file
  std::size_t Fields = std::numeric_limits<std::size_t>::max();      // values in a record
};

// Reads the records of RFC 4180 text one at a time from a stream: fields separated by ",",
// records ended by LF or CRLF (the last one may go without). A field in double quotes may hold
// commas, line breaks and "" for one quote; outside quotes every byte but the separators is kept
// as it is. An empty line gives a record of one empty field. Only the record being read is held.
// Detect takes a byte-order mark for UTF-8; without one, the first record that holds a byte above
// 0x7F decides (the header, as a rule): UTF-8 when the record is well-formed UTF-8, else code page
// 949 when it is valid there.
class CsvReader {
 public:
  CsvReader(std::istream& in, TextEncoding encoding);

  void SetLimits(const CsvLimits& limits) { FLimits = limits; }

  // The next record, decoded to UTF-8; nothing at the end of the text. Throws ECsvError naming
  // the line for a quote that is never closed or is followed by anything but a separator, text
  // that is not in the encoding, a value or a record beyond the limits (as soon as it goes beyond
  // them), and a stream that cannot be read.
  std::optional<CsvRecord> Next();

 private:
  struct RawField {
    int Line;
    std::string Bytes;
  };

  int Peek();  // the next byte, -1 at the end
  void Advance() { ++FPos; }
  void Append(RawField& field, char c);
  void ReadPlainField(RawField& field);
  void ReadQuotedField(RawField& field);
  std::string Decode(const RawField& field);
  void DecideEncoding(const std::vector<RawField>& fields, int line);

  std::istream& FIn;
  TextEncoding FEncoding;
  CsvLimits FLimits;
  std::vector<char> FBuffer;
  std::size_t FPos = 0;
  std::size_t FEnd = 0;
  bool FStarted = false;
  int FLine = 1;
};

// Every record of a text held whole in memory (a small text: checks and tests).
std::vector<CsvRecord> ReadCsvRecords(std::string_view bytes,
                                      TextEncoding encoding = TextEncoding::Utf8);

}  // namespace addressbook
