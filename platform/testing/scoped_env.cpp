#include "platform/testing/scoped_env.h"

#include <sys/stat.h>

#include <cstdlib>

namespace platform::testing {
namespace {

void Set(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name.c_str(), value->c_str(), 1);
  } else {
    unsetenv(name.c_str());
  }
}

}  // namespace

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : FName(std::move(name)) {
  if (const char* old = std::getenv(FName.c_str())) FOld = old;
  Set(FName, value);
}

ScopedEnv::~ScopedEnv() {
  Set(FName, FOld);
}

ScopedUmask::ScopedUmask(mode_t mask) : FOld(umask(mask)) {}

ScopedUmask::~ScopedUmask() {
  umask(FOld);
}

}  // namespace platform::testing
