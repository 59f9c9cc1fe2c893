#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "postcodedb/line_reader.h"

namespace postcodedb {

enum class TEncoding {
  Detect,  // a UTF-8 byte-order mark, or the first line with a non-ASCII byte, decides
  Utf8,
  Cp949,
};

// The lines of an input as UTF-8 text. Every line must be valid in the input's encoding and hold
// no NUL byte; the first that is not stops the reading with its line number.
class TTextLines {
 public:
  TTextLines(TByteSource& source, std::string name, TEncoding encoding);

  // The next line in UTF-8, valid until the next call; false at the end. Throws EInputError.
  bool Next(std::string_view& line);
  std::int64_t Number() const { return FLines.Number(); }
  std::uint64_t BytesRead() const { return FLines.BytesRead(); }
  const std::string& Name() const { return FLines.Name(); }
  // What Detect settled on; still Detect while every line so far was ASCII.
  TEncoding Encoding() const { return FEncoding; }

  // Stops the reading at the line Next gave last.
  [[noreturn]] void Fail(const std::string& reason) const;

 private:
  TLineReader FLines;
  TEncoding FEncoding;
  std::string FDecoded;
};

}  // namespace postcodedb
