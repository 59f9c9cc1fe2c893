#pragma once

#include <memory>
#include <string>

namespace platform {

// One running copy per executable file name: an exclusive lock on
// <RuntimeFolder()>/<executable file name>.lock, held while the object lives. The kernel drops
// the lock when the process ends in any way, so a crashed copy never blocks the next start.
class InstanceLock {
 public:
  // Null when another process holds the lock; throws EInOutError when the lock file cannot be
  // opened.
  static std::unique_ptr<InstanceLock> TryAcquire(const std::string& executableFileName);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

 private:
  explicit InstanceLock(int fd) : FFd(fd) {}
  int FFd;
};

}  // namespace platform
