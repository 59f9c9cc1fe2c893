#include "postcodedb/line_reader.h"

#include <algorithm>
#include <cstring>

#include "postcodedb/input_error.h"

namespace postcodedb {

TLineReader::TLineReader(TByteSource& source, std::string name, std::size_t maxLineBytes)
    : FSource(source),
      FName(std::move(name)),
      FMaxLine(maxLineBytes),
      FBuffer(std::max<std::size_t>(2 * maxLineBytes, 64 * 1024)) {}

void TLineReader::FailTooLong() const {
  throw EInputError(FName, FNumber + 1,
                    "the line is longer than " + std::to_string(FMaxLine) + " bytes");
}

bool TLineReader::Fill() {
  if (FAtEnd) return false;
  if (FStart > 0) {
    std::memmove(FBuffer.data(), FBuffer.data() + FStart, FEnd - FStart);
    FEnd -= FStart;
    FStart = 0;
  }
  const std::size_t got = FSource.Read(FBuffer.data() + FEnd, FBuffer.size() - FEnd);
  if (got == 0) FAtEnd = true;
  FEnd += got;
  return got > 0;
}

bool TLineReader::Next(std::string_view& line) {
  std::size_t searched = FStart;
  while (true) {
    const char* begin = FBuffer.data() + searched;
    const void* lf = std::memchr(begin, '\n', FEnd - searched);
    std::size_t end;  // of the line, before its LF
    std::size_t next;
    if (lf != nullptr) {
      end = static_cast<const char*>(lf) - FBuffer.data();
      next = end + 1;
    } else if (FEnd - FStart > FMaxLine) {
      FailTooLong();
    } else {
      const std::size_t kept = FEnd - FStart;
      if (Fill()) {
        searched = FStart + kept;
        continue;
      }
      if (FStart == FEnd) return false;
      end = next = FEnd;
    }
    if (end - FStart > FMaxLine) FailTooLong();
    line = std::string_view(FBuffer.data() + FStart, end - FStart);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    FBytesRead += next - FStart;
    FStart = next;
    ++FNumber;
    return true;
  }
}

}  // namespace postcodedb
