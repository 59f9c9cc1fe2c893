#pragma once

#include <cstdint>
#include <string>

#include "platform/errors.h"

namespace dbengine {

// Any failure of the data layer. ErrorCode is SQLite's result code when SQLite raised it, 0 when
// the layer itself refused the operation or a server raised it.
class EDatabaseError : public platform::Exception {
 public:
  explicit EDatabaseError(const std::string& message, int errorCode = 0)
      : Exception(message), ErrorCode(errorCode) {}
  int ErrorCode;
};

// A change to a row that another connection changed since it was read. CurrentVersion is the
// version the row holds now: a change made knowing it may go ahead.
class ERecordChanged : public EDatabaseError {
 public:
  ERecordChanged(const std::string& message, std::int64_t currentVersion)
      : EDatabaseError(message), CurrentVersion(currentVersion) {}
  std::int64_t CurrentVersion;
};

// The error of a change to a row that another connection deleted meanwhile.
inline constexpr const char* kRecordGoneMessage =
    "The record cannot be found; another user may have deleted it.";

// The text every record operation on a closed dataset fails with; callers and their tests match it.
inline constexpr const char* kClosedDataSetMessage =
    "Cannot perform this operation on a closed dataset";

}  // namespace dbengine
