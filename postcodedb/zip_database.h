#pragma once

#include <string>

#include "postcodedb/zip_list.h"

namespace zipdb {

// The table every program looks postcodes up in.
inline constexpr const char* kZipTable = "zip";

// Writes the list as a postcode database at `path`: table zip with one TEXT(n) column per list
// column, n the longest value's length in characters; an empty value is stored as NULL. The file
// is built under a temporary name beside `path` and renamed over it at the end, so `path` is
// either the old file or the whole new one. Throws platform::Exception.
void WriteZipDatabase(const TZipList& list, const std::string& path);

// Reads the list at `inputPath` and writes its database to `outputPath`; on any fault in the
// input nothing is written. Throws EZipListError for a fault in the list, platform::Exception for
// a file that cannot be read or written.
void BuildZipDatabase(const std::string& inputPath, const std::string& outputPath);

}  // namespace zipdb
