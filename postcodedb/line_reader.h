#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "postcodedb/byte_source.h"

namespace postcodedb {

// No line of any postcode file comes near this; a longer one means the input is something else,
// and the cap keeps a file without line ends from filling memory.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

// The lines of a byte source, read through a buffer of fixed size: the file is never held whole.
class TLineReader {
 public:
  // `name` is the input's name for errors.
  TLineReader(TByteSource& source, std::string name, std::size_t maxLineBytes = kMaxLineBytes);

  // The next line without its line end (LF or CRLF), valid until the next call; false at the end.
  // A last line without a line end counts. Throws EInputError for a line longer than the cap.
  bool Next(std::string_view& line);
  // 1-based number of the line Next gave last.
  std::int64_t Number() const { return FNumber; }
  // Bytes of the source taken up by the lines given so far, line ends included.
  std::uint64_t BytesRead() const { return FBytesRead; }
  const std::string& Name() const { return FName; }

 private:
  bool Fill();
  [[noreturn]] void FailTooLong() const;

  TByteSource& FSource;
  std::string FName;
  std::size_t FMaxLine;
  std::vector<char> FBuffer;
  std::size_t FStart = 0;  // first byte not yet given out
  std::size_t FEnd = 0;    // end of the bytes read into the buffer
  bool FAtEnd = false;
  std::int64_t FNumber = 0;
  std::uint64_t FBytesRead = 0;
};

}  // namespace postcodedb
