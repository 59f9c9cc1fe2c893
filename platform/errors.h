#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Root of every error the system raises on purpose. Its text is what the standard error box
// shows, so it is written for the user.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

// A file or folder operation failed; ErrorCode is the errno behind it (0 when none).
class EInOutError : public Exception {
 public:
  EInOutError(const std::string& message, int errorCode)
      : Exception(message), ErrorCode(errorCode) {}
  int ErrorCode;
};

// The settings (profile) file could not be written.
class EIniFileError : public Exception {
 public:
  using Exception::Exception;
};

// Text that should have been a number was not.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace platform
