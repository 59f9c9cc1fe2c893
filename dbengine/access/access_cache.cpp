#include "dbengine/access/access_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "dbengine/access/access_conversion.h"
#include "dbengine/errors.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/unique_fd.h"

namespace dbengine {
namespace {

constexpr const char* kCopySuffix = ".db";

// 64-bit FNV-1a: enough to tell a changed file from its old copy, which is all it is used for.
class Hash {
 public:
  void Add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) FValue = (FValue ^ bytes[i]) * 0x100000001b3ULL;
  }
  std::string Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, FValue);
    return text;
  }

 private:
  std::uint64_t FValue = 0xcbf29ce484222325ULL;
};

[[noreturn]] void CannotRead(const std::string& path, int error) {
  throw EDatabaseError("Cannot read the Access file '" + path + "': " + std::strerror(error));
}

[[noreturn]] void CannotMake(const std::string& folder, int error) {
  throw EDatabaseError("Cannot make the cache folder '" + folder + "': " + std::strerror(error));
}

// Makes one folder level 0700 when missing.
void MakeFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) CannotMake(folder, errno);
}

// Makes one folder level 0700 and makes sure it is this user's folder, open to nobody else.
void MakePrivateFolder(const std::string& folder) {
  MakeFolder(folder);
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
    throw EDatabaseError("The cache folder '" + folder + "' is not a folder of this user's");
  if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) CannotMake(folder, errno);
}

// The file's content hash, read through the descriptor whose size and time name the copy.
std::string ContentHash(const std::string& path, int fd) {
  Hash hash;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) CannotRead(path, errno);
    if (n == 0) break;
    hash.Add(buffer.data(), static_cast<std::size_t>(n));
  }
  return hash.Hex();
}

// The part of a copy's name that every copy of the same file shares.
std::string PathPrefix(const std::string& absolutePath) {
  Hash hash;
  hash.Add(absolutePath.data(), absolutePath.size());
  return hash.Hex() + "-";
}

std::string AbsolutePath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) CannotRead(path, errno);
  std::string absolute = resolved;
  std::free(resolved);
  return absolute;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Calls `visit` with the folder's descriptor and the name of each entry but "." and "..".
void ForEachEntry(const std::string& folder,
                  const std::function<void(int, const std::string&)>& visit) {
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") visit(::dirfd(dir.get()), name);
  }
}

// An entry that may be served: a file itself (not a link), this user's, that nobody else may
// change. Anything else got there while the folder was open to others, or by someone else.
bool IsOwnFile(const struct stat& info) {
  return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 022) == 0;
}

// The conversion that writes `name`, a part file, is gone: its process no longer exists. (One of
// this process may be at work on another thread.)
bool IsDeadPart(const std::string& name) {
  const std::size_t at = name.rfind(".part-");
  if (at == std::string::npos) return false;
  const char* digits = name.c_str() + at + 6;
  char* end = nullptr;
  const long pid = std::strtol(digits, &end, 10);
  if (end == digits || *end != '-' || pid <= 0 || pid == ::getpid()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes what must never be served or kept: entries that are not this user's own files, and
// the part files of conversions that died (killed, or the machine went down) before they ended.
void TidyFolder(const std::string& folder) {
  ForEachEntry(folder, [](int dirFd, const std::string& name) {
    struct stat info {};
    if (::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!IsOwnFile(info)) {
      ::unlinkat(dirFd, name.c_str(), S_ISDIR(info.st_mode) ? AT_REMOVEDIR : 0);
    } else if (IsDeadPart(name)) {
      ::unlinkat(dirFd, name.c_str(), 0);
    }
  });
}

// Whether a copy may be served from `path`: looked at without following a link.
bool IsServableCopy(const std::string& path) {
  const platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  return fd.Valid() && ::fstat(fd.Get(), &info) == 0 && IsOwnFile(info);
}

// Removes the other copies of the same file; a program still reading one keeps it until it
// closes it.
void RemoveOlderCopies(const std::string& folder, const std::string& prefix,
                       const std::string& keep) {
  ForEachEntry(folder, [&](int dirFd, const std::string& name) {
    if (name != keep && name.rfind(prefix, 0) == 0 && EndsWith(name, kCopySuffix))
      ::unlinkat(dirFd, name.c_str(), 0);
  });
}

}  // namespace

std::string AccessCacheFolder() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  std::string base;
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    base = platform::JoinPath(platform::HomeFolder(), ".cache");
  }
  MakeFolder(base);
  const std::string folder = platform::JoinPath(base, "zarize");
  MakePrivateFolder(folder);  // from now on, nobody else can put anything here
  TidyFolder(folder);
  return folder;
}

std::string AccessCopyPath(const std::string& source) {
  const std::string absolute = AbsolutePath(source);
  const platform::UniqueFd fd(::open(absolute.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) CannotRead(source, errno);
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) CannotRead(source, errno);
  const std::string name = PathPrefix(absolute) + ContentHash(source, fd.Get()) + "-" +
                           std::to_string(info.st_size) + "-" +
                           std::to_string(info.st_mtim.tv_sec) + "." +
                           std::to_string(info.st_mtim.tv_nsec) + kCopySuffix;
  return platform::JoinPath(AccessCacheFolder(), name);
}

std::string UpToDateAccessCopy(const std::string& source, const std::string& reader) {
  const std::string copy = AccessCopyPath(source);
  if (IsServableCopy(copy)) return copy;

  struct stat sourceInfo {};
  if (::stat(source.c_str(), &sourceInfo) != 0) CannotRead(source, errno);
  ConvertAccessFile(source, copy, reader.empty() ? AccessReaderProgram() : reader,
                    AccessReadLimitsFor(static_cast<std::uint64_t>(sourceInfo.st_size)));
  const std::string name = platform::FileNamePart(copy);
  RemoveOlderCopies(platform::FolderPart(copy), name.substr(0, name.find('-') + 1), name);
  return copy;
}

}  // namespace dbengine
