#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/errors.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
  // O_NOFOLLOW answers a link with ELOOP, whose usual text would mislead.
  throw EInOutError(path + ": " + (error == ELOOP ? "it is a link" : std::strerror(error)), error);
}

[[noreturn]] void Busy(const std::string& path) {
  throw EInOutError(path + ": locked by another process", EWOULDBLOCK);
}

int OpenOwnLockFile(const std::string& path) {
  // O_NONBLOCK: a FIFO put there must not stop the open.
  UniqueFd fd(
      open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600));
  if (!fd.Valid()) Fail(path, errno);
  struct stat info;
  if (fstat(fd.Get(), &info) != 0) Fail(path, errno);
  if (!S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
    throw EInOutError(path + ": not a file of this user's", EPERM);
  }
  if ((info.st_mode & 077) != 0 && fchmod(fd.Get(), 0600) != 0) Fail(path, errno);
  return fd.Release();
}

// False when someone else holds the lock.
bool TryLock(const std::string& path, int fd) {
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EWOULDBLOCK) return false;
    if (errno != EINTR) Fail(path, errno);
  }
}

struct Waiter {
  std::mutex Mutex;
  std::condition_variable Changed;
  bool Finished = false;
  int Error = 0;
};

// The blocking wait runs on a thread of its own, on a second descriptor of the same open file
// (the lock belongs to the open file, so it is ours through either descriptor). The kernel wakes
// it the moment the holder lets go, where polling would keep missing the short gap between two
// writes of a busy writer; and giving up needs no signal: the thread is left to finish alone and
// drops the lock again by closing its descriptor.
void WaitForLock(const std::string& path, int fd, std::chrono::milliseconds wait) {
  UniqueFd second(fcntl(fd, F_DUPFD_CLOEXEC, 0));
  if (!second.Valid()) Fail(path, errno);
  auto waiter = std::make_shared<Waiter>();
  try {
    std::thread([waiter, threadFd = second.Get()] {
      int rc;
      do {
        rc = flock(threadFd, LOCK_EX);
      } while (rc != 0 && errno == EINTR);
      const int error = rc == 0 ? 0 : errno;
      close(threadFd);
      const std::lock_guard<std::mutex> hold(waiter->Mutex);
      waiter->Finished = true;
      waiter->Error = error;
      waiter->Changed.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    Fail(path, EAGAIN);
  }
  second.Release();  // the thread closes it
  std::unique_lock<std::mutex> hold(waiter->Mutex);
  if (!waiter->Changed.wait_for(hold, wait, [&] { return waiter->Finished; })) Busy(path);
  if (waiter->Error != 0) Fail(path, waiter->Error);
}

}  // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait)
    : FFd(OpenOwnLockFile(path)) {
  if (!TryLock(path, FFd.Get())) {
    if (wait.count() <= 0) Busy(path);
    WaitForLock(path, FFd.Get(), wait);
  }
}

}  // namespace platform
