#pragma once

#include <string>

#include "platform/errors.h"

namespace dbengine {

// Any failure of the data layer. ErrorCode is SQLite's result code when SQLite raised it, 0 when
// the layer itself refused the operation.
class EDatabaseError : public platform::Exception {
 public:
  explicit EDatabaseError(const std::string& message, int errorCode = 0)
      : Exception(message), ErrorCode(errorCode) {}
  int ErrorCode;
};

// The text every record operation on a closed dataset fails with; callers and their tests match it.
inline constexpr const char* kClosedDataSetMessage =
    "Cannot perform this operation on a closed dataset";

}  // namespace dbengine
