#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace postcodedb {

// How far a run through the inputs has come. Bytes count the text as read (an archive's entries
// inflated), so the percentage moves evenly whatever the compression.
struct TProgress {
  std::size_t FilesDone = 0;
  std::size_t FilesTotal = 0;
  std::string CurrentFile;  // "" before the first and after the last
  std::uint64_t Rows = 0;
  std::uint64_t BytesRead = 0;
  std::uint64_t BytesTotal = 0;
  bool Finished = false;

  // 0 to 100, rounded down; 100 only once finished, even when the sizes were off.
  int Percent() const;
};

// Hears the progress at the start and end of every file and every few thousand rows between.
using TProgressCallback = std::function<void(const TProgress&)>;

}  // namespace postcodedb
