#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace mdbreader {

// A conversion that cannot be carried out; the text says why, for the user.
class EConversionError : public platform::Exception {
 public:
  using Exception::Exception;
};

struct TCopiedTable {
  std::string Name;
  std::int64_t Rows = 0;
};

// Converts an old address list, a genuine Access file, into a new address database at target
// that Zeravu opens for changes. The new file holds the two tables every new address database is
// made with, with exactly their column types, and the old list's rows in them (columns matched by
// name; a column the old list has beyond them is added after them with its own type); every other
// table of the old list is kept with its own columns and rows. Answers each table with the rows
// it now holds, in the old list's order.
//
// Never writes over anything: an existing target (the source itself included) is refused, and
// the new file appears under its name only when complete. A value too long for its column in
// the new file is refused, naming table and column. Throws EConversionError, or the engine's
// EDatabaseError when the old list cannot be read.
std::vector<TCopiedTable> ConvertAddressList(const std::string& source, const std::string& target);

}  // namespace mdbreader
