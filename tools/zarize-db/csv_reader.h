#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace zarizedb {

// What a CSV file is written in. Detect takes a byte-order mark for UTF-8, then UTF-8 when every
// byte of the file is well-formed UTF-8, then code page 949 when every byte is valid there.
enum class TTextEncoding { Detect, Utf8, Cp949 };

// A CSV file that cannot be read, with the line (1-based) where the fault is.
class ECsvError : public platform::Exception {
 public:
  ECsvError(int line, const std::string& message)
      : Exception("line " + std::to_string(line) + ": " + message), Line(line) {}
  int Line;
};

// The file's bytes as UTF-8 text, a leading byte-order mark dropped. Throws ECsvError naming the
// first line that is not valid in the encoding (when detecting and neither fits, the line of the
// encoding that reads further, since that is the likelier one).
std::string DecodeCsvText(std::string_view bytes, TTextEncoding encoding);

struct TCsvRecord {
  int Line = 0;  // where the record starts; a quoted line break makes a record span lines
  std::vector<std::string> Fields;

  bool operator==(const TCsvRecord&) const = default;
};

// The records of RFC 4180 text: fields separated by ",", records ended by LF or CRLF (the last
// one may go without). A field in double quotes may hold commas, line breaks and "" for one
// quote; outside quotes every byte but the separators is kept as it is. An empty line gives a
// record of one empty field. Throws ECsvError for a quote that is never closed or is followed by
// anything but a separator.
std::vector<TCsvRecord> ReadCsvRecords(std::string_view text);

}  // namespace zarizedb
