#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace addressbook {

// The lines of a stream, read in blocks so memory stays bounded whatever the stream holds. A line
// ends at LF; CRs before the LF (CRLF, and the CR CR LF some phones write) are not part of it.
class LineSource {
 public:
  explicit LineSource(std::istream& in);

  // The next line into `line`, at most `limit` bytes of it: the rest of a longer line is read and
  // dropped, and Truncated() says so. False at the end of the stream.
  bool Next(std::string& line, std::size_t limit);

  // 1-based number of the line Next gave last.
  int LineNumber() const { return FLineNumber; }
  // Whether that line was longer than the limit, and how many bytes it had in all.
  bool Truncated() const { return FTruncated; }
  std::uint64_t LineLength() const { return FLineLength; }

 private:
  bool Fill();

  std::istream& FIn;
  std::vector<char> FBuffer;
  std::size_t FBegin = 0;
  std::size_t FEnd = 0;
  int FLineNumber = 0;
  bool FTruncated = false;
  std::uint64_t FLineLength = 0;
};

}  // namespace addressbook
