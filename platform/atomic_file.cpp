#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path, mode_t mode) : FPath(std::move(path)) {
  // A hidden name beside the target: the rename must not cross file systems.
  std::string tempName = ".";
  tempName.append(FileNamePart(FPath)).append(".XXXXXX");
  FTempPath = JoinPath(FolderPart(FPath), tempName);
  FFd = mkostemp(FTempPath.data(), O_CLOEXEC);
  if (FFd < 0) ThrowInOutError(errno);
  if (fchmod(FFd, mode) != 0) {
    int err = errno;
    close(FFd);
    unlink(FTempPath.c_str());
    ThrowInOutError(err);
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (FFd >= 0) {
    close(FFd);
    unlink(FTempPath.c_str());
  }
}

void AtomicFileWriter::Commit() {
  WriteAll(FFd, FBuffer.view());
  if (fsync(FFd) != 0) ThrowInOutError(errno);
  int rc = close(FFd);
  int err = errno;
  FFd = -1;
  if (rc != 0 || rename(FTempPath.c_str(), FPath.c_str()) != 0) {
    if (rc == 0) err = errno;
    unlink(FTempPath.c_str());
    ThrowInOutError(err);
  }
  std::string folder = FolderPart(FPath);
  SyncFolder(folder.empty() ? "." : folder);
}

void ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t mode) {
  AtomicFileWriter writer(path, mode);
  writer.Stream() << bytes;
  writer.Commit();
}

}  // namespace platform
