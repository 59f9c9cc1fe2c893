#include "addressbook/line_source.h"

#include <algorithm>

namespace addressbook {

LineSource::LineSource(std::istream& in) : FIn(in), FBuffer(64 * 1024) {}

bool LineSource::Fill() {
  FBegin = 0;
  FEnd = 0;
  if (!FIn) return false;
  FIn.read(FBuffer.data(), static_cast<std::streamsize>(FBuffer.size()));
  FEnd = static_cast<std::size_t>(FIn.gcount());
  return FEnd > 0;
}

bool LineSource::Next(std::string& line, std::size_t limit) {
  line.clear();
  FTruncated = false;
  FLineLength = 0;
  bool any = false;
  while (true) {
    if (FBegin == FEnd && !Fill()) break;
    any = true;
    const char* begin = FBuffer.data() + FBegin;
    const char* end = FBuffer.data() + FEnd;
    const char* lf = std::find(begin, end, '\n');
    const std::size_t length = static_cast<std::size_t>(lf - begin);
    FLineLength += length;
    const std::size_t room = line.size() < limit ? limit - line.size() : 0;
    if (length > room) FTruncated = true;
    line.append(begin, std::min(length, room));
    FBegin += length;
    if (lf != end) {
      ++FBegin;  // the LF
      break;
    }
  }
  if (!any) return false;
  ++FLineNumber;
  while (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace addressbook
