#pragma once

#include <stdexcept>
#include <string>

#include "dbengine/access/access_stream.h"

namespace mdbreader {

// The file cannot be read as an Access database.
class EAccessReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes every user table of the Access file at path, with its columns and rows in the file's
// order, as a stream for the engine. Values are what the library gives for each kind: UTF-8
// text (a Jet 3 file's text decoded from the code page its header names), date-times as
// "YYYY-MM-DD HH:MM:SS", yes/no as 0 or 1, numbers as decimal text, OLE objects whole. Empty text
// reads as null, as the library reports both alike. Throws EAccessReadError; the stream then stays
// unfinished.
void DumpAccessFile(const std::string& path, dbengine::TAccessStreamWriter& writer);

}  // namespace mdbreader
