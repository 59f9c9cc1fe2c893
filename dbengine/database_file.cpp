#include "dbengine/database_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "dbengine/errors.h"
#include "platform/paths.h"

namespace dbengine {
namespace {

constexpr std::size_t kHeaderSize = 100;
// The first bytes of every database file.
constexpr char kDatabaseMagic[] = "SQLite format 3";  // 16 bytes with its NUL

std::uint32_t BigEndian(const unsigned char* at, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | at[i];
  return value;
}

std::string Message(const char* before, const std::string& path, const std::string& after) {
  std::string message(before);
  message += path;
  message += after;
  return message;
}

// Reads the header; a file shorter than the header cannot be a database.
void ReadHeader(const std::string& path, unsigned char (&header)[kHeaderSize]) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    throw EDatabaseError(Message("Cannot open the database file '", path,
                                 "': " + std::string(std::strerror(error))));
  }
  std::size_t got = 0;
  while (got < kHeaderSize) {
    const ssize_t n = ::read(fd, header + got, kHeaderSize - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (got < kHeaderSize) ThrowNotADatabase(path);
}

void CheckHeader(const std::string& path, const unsigned char (&header)[kHeaderSize],
                 off_t fileSize) {
  if (std::memcmp(header, kDatabaseMagic, sizeof kDatabaseMagic) != 0) ThrowNotADatabase(path);
  std::uint32_t pageSize = BigEndian(header + 16, 2);
  if (pageSize == 1) pageSize = 65536;
  if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) ThrowNotADatabase(path);

  const std::uint32_t changeCounter = BigEndian(header + 24, 4);
  const std::uint32_t pageCount = BigEndian(header + 28, 4);
  const std::uint32_t validFor = BigEndian(header + 92, 4);
  // The page count is trustworthy only when written by the same change as the counter.
  const bool countValid = pageCount > 0 && validFor == changeCounter;
  const auto size = static_cast<std::uint64_t>(fileSize);
  const std::uint64_t needed = countValid ? std::uint64_t{pageCount} * pageSize : pageSize;
  if (size < needed)
    throw EDatabaseError(Message("The database file '", path,
                                 "' is damaged: it is shorter than its header declares."));
}

}  // namespace

void ThrowNotADatabase(const std::string& path) {
  throw EDatabaseError(Message("The file '", path, "' is not a database."));
}

bool CheckDatabaseFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR)
      throw EDatabaseError(Message("Could not find file '", path, "'."));
    throw EDatabaseError(Message("Cannot open the database file '", path,
                                 "': " + std::string(std::strerror(error))));
  }
  if (S_ISDIR(info.st_mode))
    throw EDatabaseError(Message("'", path, "' is a folder, not a database file."));
  if (!S_ISREG(info.st_mode)) ThrowNotADatabase(path);

  unsigned char header[kHeaderSize];
  ReadHeader(path, header);
  CheckHeader(path, header, info.st_size);

  const std::string folder = platform::FolderPart(path);
  const char* journalFolder = folder.empty() ? "." : folder.c_str();
  const bool permitsWrite = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return permitsWrite && ::access(path.c_str(), W_OK) == 0 && ::access(journalFolder, W_OK) == 0;
}

}  // namespace dbengine
