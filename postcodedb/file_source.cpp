#include "postcodedb/file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "postcodedb/input_error.h"

namespace postcodedb {

int OpenRegularFile(const std::string& path, std::uint64_t& size) {
  // O_NONBLOCK keeps the open itself from waiting on a FIFO; the type check then refuses it.
  platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd.Valid()) throw EInputError(path, 0, std::strerror(errno));
  struct stat status;
  if (fstat(fd.Get(), &status) != 0) throw EInputError(path, 0, std::strerror(errno));
  if (!S_ISREG(status.st_mode)) throw EInputError(path, 0, "not a regular file");
  size = static_cast<std::uint64_t>(status.st_size);
  return fd.Release();
}

TFileSource::TFileSource(const std::string& path)
    : FPath(path), FFd(OpenRegularFile(path, FSize)) {}

std::size_t TFileSource::Read(char* buffer, std::size_t size) {
  while (true) {
    const ssize_t got = read(FFd.Get(), buffer, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) throw EInputError(FPath, 0, std::strerror(errno));
  }
}

}  // namespace postcodedb
