#pragma once

#include <chrono>
#include <string>

#include "platform/unique_fd.h"

namespace platform {

// An exclusive lock (flock) on a lock file of this user's own, held while the object lives.
// Nobody else can open the file, so nobody else can hold its lock; and a holder that never lets
// go (a hung copy of a program) costs a waiter at most `wait`, never its life.
class FileLock {
 public:
  // Opens `path`, or makes it with mode 0600, never through a link; refuses a file that is not a
  // regular file of this user's, and narrows a wider mode to 0600. Throws EInOutError, its text
  // naming the path and the reason, when the file cannot be used, and with the code EWOULDBLOCK
  // when the lock is still taken after `wait` (with no wait, when it is taken now).
  FileLock(const std::string& path, std::chrono::milliseconds wait);
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  UniqueFd FFd;  // closing the file drops the lock
};

}  // namespace platform
