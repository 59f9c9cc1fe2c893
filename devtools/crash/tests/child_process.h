#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

namespace crash::testing {

// A program run as a child process, its standard output on a pipe: the crash writer unless
// another program is named.
class TChild {
 public:
  explicit TChild(const std::vector<std::string>& args);  // args after the program
  TChild(const std::string& program, const std::vector<std::string>& args);
  ~TChild();  // kills and reaps a child still running
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;

  void Kill();  // SIGKILL, wherever the child is
  // Waits for the end and answers the exit status as waitpid gives it.
  int Wait();
  // The exit status once the child has ended within `limit`; nothing while it still runs.
  std::optional<int> WaitWithin(std::chrono::milliseconds limit);
  // Waits until the child has reported its first number (false when it ended without one), so a
  // kill can land in the middle of its work however slowly the child starts.
  bool WaitForFirstReport();
  // The numbers the child reported, read to the end of its output (call after Kill or Wait).
  std::vector<int> Reported();

 private:
  bool ReadMore();  // false at the end of the output

  pid_t FPid = -1;
  platform::UniqueFd FOut;
  int FStatus = 0;
  std::string FText;
};

// Where the writer program is, as the build puts it.
std::string CrashWriterPath();

}  // namespace crash::testing
