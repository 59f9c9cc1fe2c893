#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/folders.h"
#include "platform/io_error.h"
#include "platform/paths.h"

namespace platform {

std::unique_ptr<InstanceLock> InstanceLock::TryAcquire(const std::string& executableFileName) {
  std::string path = JoinPath(RuntimeFolder(), executableFileName + ".lock");
  // O_CLOEXEC: a program this one starts must not keep the lock alive after it ends.
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) ThrowInOutError(errno);
  int rc;
  do {
    rc = flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    int err = errno;
    close(fd);
    if (err == EWOULDBLOCK) return nullptr;
    ThrowInOutError(err);
  }
  return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

InstanceLock::~InstanceLock() {
  close(FFd);
}

}  // namespace platform
