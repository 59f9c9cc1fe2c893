#include "platform/single_instance.h"

#include <cerrno>
#include <chrono>

#include "platform/errors.h"
#include "platform/file_lock.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace platform {

InstanceLock::InstanceLock(const std::string& executableFileName) {
  try {
    // No wait: a copy that is running holds the lock for its whole life.
    FLock = std::make_unique<FileLock>(JoinPath(RuntimeFolder(), executableFileName + ".lock"),
                                       std::chrono::milliseconds(0));
  } catch (const EInOutError& error) {
    if (error.ErrorCode == EWOULDBLOCK) {
      FHeldByAnotherCopy = true;
    } else {
      FProblem = error.Message();
    }
  }
}

InstanceLock::~InstanceLock() = default;

}  // namespace platform
