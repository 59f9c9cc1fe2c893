#include "platform/io_error.h"

#include <cerrno>

#include "platform/errors.h"

namespace platform {

std::string InOutErrorText(int errorCode) {
  switch (errorCode) {
    case EACCES:
    case EPERM:
    case EROFS:
      return "File access denied";
    case ENOENT:
    case ENOTDIR:
      return "Path not found";
    case ENOSPC:
    case EDQUOT:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(errorCode);
  }
}

std::string ForeignFileText(const std::string& path) {
  return InOutErrorText(EACCES) + ": " + path + " belongs to another user";
}

void ThrowInOutError(int errorCode) {
  throw EInOutError(InOutErrorText(errorCode), errorCode);
}

}  // namespace platform
