#pragma once

#include <cstdint>
#include <string>

#include "platform/errors.h"

namespace postcodedb {

// An input cannot be read as a postcode file. File names the input as the user gave it (for an
// archive's entry, "archive.zip (entry.txt)"); Line is 1-based, 0 when the fault is not in a line.
class EInputError : public platform::Exception {
 public:
  EInputError(const std::string& file, std::int64_t line, const std::string& reason);

  std::string File;
  std::int64_t Line;
  std::string Reason;
};

}  // namespace postcodedb
