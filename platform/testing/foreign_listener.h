#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "platform/unique_fd.h"

namespace platform::testing {

// A listener on a Unix stream socket run by another user (kUnprivilegedId) in a child process,
// as another local user would plant one: it accepts every sender, answers nothing and counts the
// bytes that reach it. Needs root to start; the folder must let that user make the socket.
class ForeignListener {
 public:
  // Returns once the socket listens; a failed test when it cannot.
  explicit ForeignListener(const std::string& endpoint);
  ~ForeignListener();
  ForeignListener(const ForeignListener&) = delete;
  ForeignListener& operator=(const ForeignListener&) = delete;

  // Stops the listener and answers how many bytes reached it.
  std::size_t BytesReceived();

 private:
  void Stop();

  pid_t FPid = -1;
  UniqueFd FReport;  // the running total, written by the child after each read
  std::size_t FBytes = 0;
};

}  // namespace platform::testing
