#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>

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

// An unnamed file in `folder`, given a name later through /proc; -1 with errno when not here.
int OpenUnnamed(const std::string& folder, mode_t mode) {
  if (access("/proc/self/fd", X_OK) != 0) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

// The file system or the kernel has no unnamed files: the named way works all the same.
bool CanFallBack(int err) {
  return err == EOPNOTSUPP || err == EISDIR || err == EINVAL;
}

// Gives the unnamed file behind `fd` a fresh hidden name beside `path`.
std::string NameUnnamed(int fd, const std::string& path) {
  const std::string source = "/proc/self/fd/" + std::to_string(fd);
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TempNameFor(path);
    for (std::size_t i = name.size() - 6; i < name.size(); ++i) {
      name[i] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[random() % 62];
    }
    if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return name;
    }
    if (errno != EEXIST) ThrowInOutError(errno);
  }
  ThrowInOutError(EEXIST);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path, mode_t mode) : FPath(std::move(path)) {
  // The temporary file has no name until Commit, so a writer killed on the way leaves nothing
  // behind. Where the file system cannot make one, a hidden name beside the target serves.
  FFd = OpenUnnamed(FolderOf(FPath), mode);
  if (FFd < 0 && !CanFallBack(errno)) ThrowInOutError(errno);
  if (FFd < 0) {
    FTempPath = TempNameFor(FPath);
    FFd = mkostemp(FTempPath.data(), O_CLOEXEC);
    if (FFd < 0) ThrowInOutError(errno);
  }
  if (fchmod(FFd, mode) != 0) {
    int err = errno;
    close(FFd);
    if (!FTempPath.empty()) unlink(FTempPath.c_str());
    ThrowInOutError(err);
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (FFd >= 0) {
    close(FFd);
    if (!FTempPath.empty()) unlink(FTempPath.c_str());
  }
}

void AtomicFileWriter::Commit() {
  WriteAll(FFd, FBuffer.view());
  if (fsync(FFd) != 0) ThrowInOutError(errno);
  if (FTempPath.empty()) FTempPath = NameUnnamed(FFd, FPath);  // named only until the rename
  int rc = close(FFd);
  int err = errno;
  FFd = -1;
  if (rc != 0 || rename(FTempPath.c_str(), FPath.c_str()) != 0) {
    if (rc == 0) err = errno;
    unlink(FTempPath.c_str());
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

void ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t mode) {
  AtomicFileWriter writer(path, mode);
  writer.Stream() << bytes;
  writer.Commit();
}

}  // namespace platform
