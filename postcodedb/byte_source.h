#pragma once

#include <cstddef>

namespace postcodedb {

// Bytes read front to back: a file, or an archive's entry as it is inflated.
class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // Up to `size` bytes into `buffer`; 0 only at the end. Throws EInputError.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

}  // namespace postcodedb
