#pragma once

#include <string>
#include <vector>

namespace postcodedb::testing {

struct TZipFixtureEntry {
  std::string Name;       // the bytes stored as the name
  std::string Data;       // empty with a name ending in '/' for a folder
  bool Utf8Name = false;  // mark the name UTF-8, as archivers do for non-ASCII UTF-8 names
  bool Deflate = true;
  bool Encrypt = false;  // with a password the reader is never given
};

// Makes a zip archive at `path` with the library the reader uses.
void WriteZip(const std::string& path, const std::vector<TZipFixtureEntry>& entries);

}  // namespace postcodedb::testing
