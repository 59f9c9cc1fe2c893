#include "postcodedb/progress.h"

#include <algorithm>

namespace postcodedb {

int TProgress::Percent() const {
  if (Finished) return 100;
  if (BytesTotal == 0) return 0;
  const std::uint64_t read = std::min(BytesRead, BytesTotal);
  // An archive may declare less than it holds; a run that is not over never shows 100.
  return std::min(99, static_cast<int>(read * 100 / BytesTotal));
}

}  // namespace postcodedb
