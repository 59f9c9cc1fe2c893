#pragma once

#include <cstdint>
#include <string>

#include "platform/unique_fd.h"
#include "postcodedb/byte_source.h"

namespace postcodedb {

// Opens a regular file for reading and answers its descriptor and size. Throws EInputError
// naming the path when it is missing, unreadable or not a regular file (a folder, a pipe, a
// device), so a planted FIFO cannot stall a build.
int OpenRegularFile(const std::string& path, std::uint64_t& size);

// A regular file read from the start.
class TFileSource : public TByteSource {
 public:
  // Throws EInputError as OpenRegularFile does.
  explicit TFileSource(const std::string& path);

  std::size_t Read(char* buffer, std::size_t size) override;
  std::uint64_t Size() const { return FSize; }

 private:
  std::string FPath;
  std::uint64_t FSize = 0;  // before FFd, whose opening sets it
  platform::UniqueFd FFd;
};

}  // namespace postcodedb
