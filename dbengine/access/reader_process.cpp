#include "dbengine/access/reader_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/unique_fd.h"

extern char** environ;

namespace dbengine {
namespace {

[[noreturn]] void CannotRun(const std::string& program, int error) {
  throw EDatabaseError("Cannot run " + program + ": " + std::strerror(error));
}

// Everything the child needs, made before the fork: after it, the child of a process with
// threads may only make system calls.
struct TChildSetup {
  const char* Program;
  char* const* Arguments;
  pid_t Parent;
  rlimit Cpu;
  int Output;     // the write end of the pipe that becomes its standard output
  int NullIn;     // /dev/null for standard input
  int NullOut;    // /dev/null for standard error
  int ExecError;  // where it reports why the program could not be run
  int OpenMax;    // no descriptor lies at or above it
};

// The seconds of processor time the reader may use: what the time limit would let it use,
// rounded up. It holds even when nobody is left to enforce the time limit.
rlimit CpuLimitFor(std::chrono::milliseconds timeLimit) {
  rlimit current{};
  getrlimit(RLIMIT_CPU, &current);
  const rlim_t seconds = static_cast<rlim_t>((timeLimit.count() + 999) / 1000);
  // A soft limit sends SIGXCPU; a second more, and the hard one sends SIGKILL.
  rlimit limit{seconds, seconds + 1};
  if (current.rlim_max != RLIM_INFINITY && limit.rlim_max > current.rlim_max) {
    limit.rlim_max = current.rlim_max;
    if (limit.rlim_cur > limit.rlim_max) limit.rlim_cur = limit.rlim_max;
  }
  return limit;
}

// Closes the descriptors first to last; one by one where the kernel cannot close a range.
void CloseFiles(int first, int last, int openMax) {
  if (first > last) return;
  if (::syscall(SYS_close_range, first, last, 0) == 0) return;
  for (int fd = first; fd <= last && fd < openMax; ++fd) ::close(fd);
}

[[noreturn]] void ReportAndExit(int errorPipe, int error) {
  while (::write(errorPipe, &error, sizeof error) < 0 && errno == EINTR) {
  }
  ::_exit(127);
}

[[noreturn]] void BecomeReader(const TChildSetup& setup) {
  // The reader dies with the process that started it, however that one ends. The parent may
  // have died before the request was made: then nobody is left to read.
  if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) ReportAndExit(setup.ExecError, errno);
  if (::getppid() != setup.Parent) ::_exit(127);
  if (::setrlimit(RLIMIT_CPU, &setup.Cpu) != 0) ReportAndExit(setup.ExecError, errno);
  if (::dup2(setup.NullIn, 0) < 0 || ::dup2(setup.Output, 1) < 0 || ::dup2(setup.NullOut, 2) < 0)
    ReportAndExit(setup.ExecError, errno);
  // It inherits no other open file but the report pipe, which closes as the program starts.
  CloseFiles(3, setup.ExecError - 1, setup.OpenMax);
  CloseFiles(setup.ExecError + 1, setup.OpenMax - 1, setup.OpenMax);
  // It starts with default signal handling and nothing blocked, whatever this process set.
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  for (int signal : {SIGPIPE, SIGTERM, SIGINT}) ::sigaction(signal, &defaults, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::execve(setup.Program, setup.Arguments, environ);
  ReportAndExit(setup.ExecError, errno);
}

// `fd`, moved above the standard descriptors when it lies among them (this process may have been
// started with one closed), so that setting up the child's never overwrites it.
int AboveStandard(int fd) {
  if (fd < 0 || fd > 2) return fd;
  const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  ::close(fd);
  return moved;
}

// Why the child could not run the program (0: it runs), read until the pipe closes.
int ChildError(int errorPipe) {
  int error = 0;
  ssize_t got;
  while ((got = ::read(errorPipe, &error, sizeof error)) < 0 && errno == EINTR) {
  }
  return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace

TReaderProcess::TReaderProcess(const std::string& program,
                               const std::vector<std::string>& arguments,
                               std::chrono::milliseconds timeLimit, std::uint64_t maxBytes)
    : FDeadline(std::chrono::steady_clock::now() + timeLimit), FMaxBytes(maxBytes) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) CannotRun(program, errno);
  platform::UniqueFd readEnd(pipeFds[0]);
  const platform::UniqueFd writeEnd(AboveStandard(pipeFds[1]));
  int errorFds[2];
  if (::pipe2(errorFds, O_CLOEXEC) != 0) CannotRun(program, errno);
  const platform::UniqueFd errorRead(errorFds[0]);
  platform::UniqueFd errorWrite(AboveStandard(errorFds[1]));
  const platform::UniqueFd nullIn(AboveStandard(::open("/dev/null", O_RDONLY | O_CLOEXEC)));
  const platform::UniqueFd nullOut(AboveStandard(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
  if (!writeEnd.Valid() || !errorWrite.Valid() || !nullIn.Valid() || !nullOut.Valid())
    CannotRun(program, errno);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  rlimit files{};
  ::getrlimit(RLIMIT_NOFILE, &files);
  const int openMax = files.rlim_cur == RLIM_INFINITY || files.rlim_cur > (1u << 20)
                          ? 1 << 20
                          : static_cast<int>(files.rlim_cur);
  const TChildSetup setup{program.c_str(),        argv.data(),      ::getpid(),
                          CpuLimitFor(timeLimit), writeEnd.Get(),   nullIn.Get(),
                          nullOut.Get(),          errorWrite.Get(), openMax};

  FPid = ::fork();
  if (FPid == 0) BecomeReader(setup);
  if (FPid < 0) {
    FPid = -1;
    CannotRun(program, errno);
  }
  ::close(errorWrite.Release());  // so the read below ends once the program runs
  if (const int error = ChildError(errorRead.Get()); error != 0) {
    Kill();
    CannotRun(program, error);
  }
  FOutput = std::move(readEnd);
}

TReaderProcess::~TReaderProcess() {
  Kill();
}

int TReaderProcess::MillisecondsLeft() const {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      FDeadline - std::chrono::steady_clock::now());
  return left.count() <= 0 ? 0 : static_cast<int>(left.count());
}

void TReaderProcess::Kill() {
  if (FPid <= 0) return;
  ::kill(FPid, SIGKILL);
  while (::waitpid(FPid, nullptr, 0) < 0 && errno == EINTR) {
  }
  FPid = -1;
}

std::size_t TReaderProcess::Read(char* into, std::size_t size) {
  for (;;) {
    pollfd ready{FOutput.Get(), POLLIN, 0};
    const int left = MillisecondsLeft();
    const int polled = left > 0 ? ::poll(&ready, 1, left) : 0;
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) {
      Kill();
      throw EAccessStreamError("The reader did not finish within its time limit");
    }
    const ssize_t n = ::read(FOutput.Get(), into, size);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) {
      const int error = errno;
      Kill();
      throw EAccessStreamError(std::string("Reading the reader's output failed: ") +
                               std::strerror(error));
    }
    FBytes += static_cast<std::uint64_t>(n);
    if (FBytes > FMaxBytes) {
      Kill();
      throw EAccessStreamError("The reader wrote more than " + std::to_string(FMaxBytes) +
                               " bytes");
    }
    return static_cast<std::size_t>(n);
  }
}

bool TReaderProcess::Finish() {
  try {
    char extra;
    if (Read(&extra, 1) != 0) {
      Kill();
      return false;
    }
  } catch (const EAccessStreamError&) {
    return false;  // killed already
  }
  // The output is closed, so the program is ending; give it the time that is left.
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(FPid, &status, WNOHANG);
    if (done == FPid) {
      FPid = -1;
      return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    if (done < 0 && errno != EINTR) {
      FPid = -1;
      return false;
    }
    if (MillisecondsLeft() == 0) {
      Kill();
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace dbengine
