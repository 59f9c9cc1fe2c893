#pragma once

#include <string>

namespace postcodedb {

// The table both programs look postcodes up in.
inline constexpr const char* kZipTable = "zip";

// Reads the postcode list at `inputPath` (either layout ZipListReader reads) and writes it as the
// lookup's postcode database at `outputPath`: table zip with one TEXT(n) column per list column,
// n the longest value's length in characters; an empty value is stored as NULL. The list is read
// twice, as it is stored: once to check every line and measure the columns, so a fault in it
// stops the build before anything is written, then to fill the table. The database is built
// beside `outputPath` and takes its place only when whole, so `outputPath` is either the old file
// or the whole new one; a new file is readable by every user of the programs (0644), a replaced
// one keeps its mode. Throws EInputError for a fault in the list, platform::Exception for a file
// that cannot be read or written.
void BuildZipDatabase(const std::string& inputPath, const std::string& outputPath);

}  // namespace postcodedb
