#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/access/access_stream.h"
#include "platform/unique_fd.h"

namespace dbengine {

// A program run in a child process, its standard output read as a byte source, under a time
// limit and a cap on what it may write. Its standard input is empty, what it writes to standard
// error is dropped, and it inherits no other open file. It dies with this process however this
// one ends (killed included), and it may use no more processor time than the time limit allows,
// so a reader nobody waits for any more neither lingers nor spins. (The kernel ties it to the
// thread that starts it: keep the object on that thread.)
class TReaderProcess : public TByteSource {
 public:
  // Throws EDatabaseError when the program cannot be started.
  TReaderProcess(const std::string& program, const std::vector<std::string>& arguments,
                 std::chrono::milliseconds timeLimit, std::uint64_t maxBytes);
  // Kills the program when it is still running.
  ~TReaderProcess() override;
  TReaderProcess(const TReaderProcess&) = delete;
  TReaderProcess& operator=(const TReaderProcess&) = delete;

  // Waits for output until the time limit. Throws EAccessStreamError (and kills the program)
  // when the time runs out or the output grows beyond the cap.
  std::size_t Read(char* into, std::size_t size) override;
  // Waits, within the time left, for the program to end: true when it wrote nothing more and
  // exited with status 0. Otherwise (the time ran out too) it is killed.
  bool Finish();

 private:
  int MillisecondsLeft() const;
  void Kill();

  pid_t FPid = -1;
  platform::UniqueFd FOutput;  // the read end of the program's standard output
  std::chrono::steady_clock::time_point FDeadline;
  std::uint64_t FMaxBytes;
  std::uint64_t FBytes = 0;
};

}  // namespace dbengine
