#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "platform/errors.h"
#include "platform/io_error.h"
#include "platform/paths.h"

namespace platform {
namespace {

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowInOutError(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) ThrowInOutError(errno);
  int rc = fsync(fd);
  int err = errno;
  close(fd);
  // Some file systems cannot sync a folder; the rename has happened all the same.
  if (rc != 0 && err != EINVAL && err != EROFS) ThrowInOutError(err);
}

std::string FolderOf(const std::string& path) {
  std::string folder = FolderPart(path);
  return folder.empty() ? "." : folder;
}

// A hidden name beside the target: the rename must not cross file systems.
std::string TempNameFor(const std::string& path) {
  std::string tempName = ".";
  tempName.append(FileNamePart(path)).append(".XXXXXX");
  return JoinPath(FolderPart(path), tempName);
}

// Tries fresh hidden names beside `path` until `take` takes one (answers true); any failure but
// a name already in use ends the search. Answers the name taken.
template <typename Take>
std::string TakeFreshName(const std::string& path, Take take) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TempNameFor(path);
    for (std::size_t i = name.size() - 6; i < name.size(); ++i) {
      name[i] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[random() % 62];
    }
    if (take(name)) return name;
    if (errno != EEXIST) ThrowInOutError(errno);
  }
  ThrowInOutError(EEXIST);
}

// An unnamed file in `folder`, given a name later through /proc; -1 with errno when not here.
int OpenUnnamed(const std::string& folder, mode_t bits) {
  if (access("/proc/self/fd", X_OK) != 0) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, bits);
}

// The file system or the kernel has no unnamed files: the named way works all the same.
bool CanFallBack(int err) {
  return err == EOPNOTSUPP || err == EISDIR || err == EINVAL;
}

// Gives the unnamed file behind `fd` a fresh hidden name beside `path`.
std::string NameUnnamed(int fd, const std::string& path) {
  const std::string source = "/proc/self/fd/" + std::to_string(fd);
  return TakeFreshName(path, [&](const std::string& name) {
    return linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
  });
}

// The mode of the regular file at `path` (a link is not followed), if there is one.
std::optional<mode_t> RegularFileMode(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return info.st_mode & 07777;
}

// Whether something at `path` belongs to another user: in a shared folder with the sticky bit
// (the temporary folder) that is why it cannot be replaced.
bool BelongsToAnotherUser(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && info.st_uid != geteuid();
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path, FileMode mode)
    : FPath(std::move(path)), FMode(mode) {
  // The temporary file has no name until Commit, so a writer killed on the way leaves nothing
  // behind. Where the file system cannot make one, a hidden name beside the target serves. Both
  // are made with the mode's bits, so the kernel takes the umask off them.
  FFd.Reset(OpenUnnamed(FolderOf(FPath), FMode.Bits));
  if (!FFd.Valid() && !CanFallBack(errno)) ThrowInOutError(errno);
  if (!FFd.Valid()) {
    FTempPath = TakeFreshName(FPath, [this](const std::string& name) {
      FFd.Reset(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, FMode.Bits));
      return FFd.Valid();
    });
  }
  if (FMode.Exact && fchmod(FFd.Get(), FMode.Bits) != 0) {
    int err = errno;
    FFd.Close();
    if (!FTempPath.empty()) unlink(FTempPath.c_str());
    ThrowInOutError(err);
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (FFd.Valid()) {
    FFd.Close();
    if (!FTempPath.empty()) unlink(FTempPath.c_str());
  }
}

void AtomicFileWriter::Commit() {
  WriteAll(FFd.Get(), FBuffer.view());
  if (!FMode.Exact) {
    if (std::optional<mode_t> kept = RegularFileMode(FPath); kept && fchmod(FFd.Get(), *kept) != 0)
      ThrowInOutError(errno);
  }
  if (fsync(FFd.Get()) != 0) ThrowInOutError(errno);
  if (FTempPath.empty()) FTempPath = NameUnnamed(FFd.Get(), FPath);  // named only until the rename
  int rc = FFd.Close();
  int err = errno;
  if (rc != 0 || rename(FTempPath.c_str(), FPath.c_str()) != 0) {
    if (rc == 0) err = errno;
    unlink(FTempPath.c_str());
    if ((err == EPERM || err == EACCES) && BelongsToAnotherUser(FPath))
      throw EInOutError(ForeignFileText(FPath), err);
    ThrowInOutError(err);
  }
  SyncFolder(FolderOf(FPath));
}

void RemoveLeftTemporaries(const std::string& path) {
  const std::string prefix = std::string(".").append(FileNamePart(path)).append(".");
  const std::string folder = FolderOf(path);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
      unlinkat(dirfd(dir), name.c_str(), 0);
    }
  }
  closedir(dir);
}

void ReplaceFileAtomically(const std::string& path, std::string_view bytes, FileMode mode) {
  AtomicFileWriter writer(path, mode);
  writer.Stream() << bytes;
  writer.Commit();
}

}  // namespace platform
