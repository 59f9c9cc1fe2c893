#pragma once

#include <memory>
#include <string>

namespace platform {

class FileLock;

// One running copy per executable file name: an exclusive lock on
// <RuntimeFolder()>/<executable file name>.lock, held while the object lives. The kernel drops
// the lock when the process ends in any way, so a crashed copy never blocks the next start.
//
// Only another copy holding the lock is a reason to give way. When the lock cannot be made at
// all (a link where the lock file goes, a runtime folder that cannot be used), the program goes
// on without it: two copies may then run, which is better than one that cannot start.
class InstanceLock {
 public:
  // A lock that cannot be made is no error here: Problem() says why.
  explicit InstanceLock(const std::string& executableFileName);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool HeldByAnotherCopy() const { return FHeldByAnotherCopy; }
  // Why the lock could not be made at all; empty when it is held here or by another copy.
  const std::string& Problem() const { return FProblem; }

 private:
  std::unique_ptr<FileLock> FLock;
  bool FHeldByAnotherCopy = false;
  std::string FProblem;
};

}  // namespace platform
