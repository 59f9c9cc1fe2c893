#pragma once

#include <unistd.h>

#include <utility>

namespace platform {

// Owns a file descriptor and closes it; -1 owns nothing. Every class that keeps a descriptor
// keeps it in one of these, so no way out of a constructor or a scope leaks it.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : FFd(fd) {}
  ~UniqueFd() { Close(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : FFd(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    Reset(other.Release());
    return *this;
  }

  int Get() const { return FFd; }
  bool Valid() const { return FFd >= 0; }
  int Release() { return std::exchange(FFd, -1); }
  // Closes what it owns and owns `fd` instead.
  void Reset(int fd = -1) {
    Close();
    FFd = fd;
  }
  // Closes now and answers close's result (0 when there was nothing to close), for the writer
  // that must know whether the last of its data reached the file.
  int Close() { return FFd >= 0 ? close(std::exchange(FFd, -1)) : 0; }

 private:
  int FFd;
};

}  // namespace platform
