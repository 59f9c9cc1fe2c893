#include "postcodedb/input_error.h"

namespace postcodedb {
namespace {

std::string Describe(const std::string& file, std::int64_t line, const std::string& reason) {
  if (line <= 0) return file + ": " + reason;
  return file + ": line " + std::to_string(line) + ": " + reason;
}

}  // namespace

EInputError::EInputError(const std::string& file, std::int64_t line, const std::string& reason)
    : Exception(Describe(file, line, reason)), File(file), Line(line), Reason(reason) {}

}  // namespace postcodedb
