#pragma once

#include <cstdint>
#include <string>

#include "dbengine/access/access_stream.h"

namespace dbengine {

struct TAccessImportCounts {
  std::uint64_t Tables = 0;
  std::uint64_t Rows = 0;
};

// Stores what an Access stream holds as a new database file at path (which must not exist yet):
// one table per table, its columns in their order with the Jet type of their kind (TEXT(n),
// LONGTEXT, YESNO, BYTE, SHORT, LONG, COUNTER, CURRENCY, SINGLE, DOUBLE, NUMERIC, DATETIME,
// BINARY, LONGBINARY, GUID), its rows in their order. Values become what the file format stores:
// a date-time at midnight loses its time of day, yes/no and numbers become numbers, binary values
// blobs. Throws EAccessStreamError for a damaged stream and when it holds more than maxRows rows;
// EDatabaseError when the file cannot be written. Whatever went wrong, the file is removed.
TAccessImportCounts ImportAccessStream(TByteSource& source, const std::string& path,
                                       std::uint64_t maxRows);

}  // namespace dbengine
