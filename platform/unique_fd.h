#pragma once

#include <unistd.h>

namespace platform {

// Owns a file descriptor and closes it; -1 owns nothing.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : FFd(fd) {}
  ~UniqueFd() {
    if (FFd >= 0) close(FFd);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return FFd; }
  bool Valid() const { return FFd >= 0; }
  int Release() {
    int fd = FFd;
    FFd = -1;
    return fd;
  }

 private:
  int FFd;
};

}  // namespace platform
