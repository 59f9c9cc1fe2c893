#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "postcodedb/byte_source.h"

struct zip;

namespace postcodedb {

// What an archive may make us inflate. The largest genuine entry (one region's text) is a few
// hundred MB and deflates about tenfold; anything far beyond is a zip bomb, refused before a byte
// of it is inflated and stopped the moment it inflates beyond what it declared.
struct TZipLimits {
  std::uint64_t MaxEntryBytes = std::uint64_t{4} << 30;
  std::uint64_t MaxRatio = 200;                           // inflated bytes per compressed byte
  std::uint64_t RatioFreeBytes = std::uint64_t{1} << 20;  // entries this small skip the ratio check
  std::size_t MaxEntries = 10'000;
};

struct TZipEntry {
  std::uint64_t Index = 0;
  // UTF-8: names are code page 949 unless the archive marks them UTF-8. A name is only ever a
  // name: nothing is written under it, so '/' or ".." in it mean nothing.
  std::string Name;
  std::uint64_t Size = 0;  // as declared
  std::uint64_t CompressedSize = 0;
};

// A zip archive read in place: entries are inflated as they are read, never extracted.
class TZipArchive {
 public:
  // Throws EInputError naming the path when it is no zip archive, is damaged or is too big.
  explicit TZipArchive(const std::string& path, TZipLimits limits = {});
  ~TZipArchive();
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  // The files of the archive (folders left out), in archive order.
  const std::vector<TZipEntry>& Entries() const { return FEntries; }
  // "archive.zip (entry.txt)", as errors name an entry.
  std::string EntryDisplayName(const TZipEntry& entry) const;
  // The entry's bytes. Throws EInputError for an entry over the limits, an encrypted one or one
  // the library cannot open; the source throws when the data is damaged or oversized.
  std::unique_ptr<TByteSource> Open(const TZipEntry& entry) const;

 private:
  std::string FPath;
  TZipLimits FLimits;
  ::zip* FArchive = nullptr;
  std::vector<TZipEntry> FEntries;
};

// Whether the file starts like a zip archive.
bool LooksLikeZipArchive(const std::string& path);

}  // namespace postcodedb
