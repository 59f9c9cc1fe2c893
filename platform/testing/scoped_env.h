#pragma once

#include <optional>
#include <string>

namespace platform::testing {

// Sets (or, with nullopt, removes) an environment variable for the life of the object and
// puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string FName;
  std::optional<std::string> FOld;
};

}  // namespace platform::testing
