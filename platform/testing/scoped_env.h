#pragma once

#include <sys/types.h>

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

// Sets the process's umask for the life of the object and puts the old one back afterwards.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask);
  ~ScopedUmask();
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t FOld;
};

}  // namespace platform::testing
