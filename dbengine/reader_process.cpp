#include "dbengine/reader_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/unique_fd.h"

extern char** environ;

namespace dbengine {
namespace {

// posix_spawn's settings, released on every path.
class SpawnSettings {
 public:
  SpawnSettings() {
    posix_spawn_file_actions_init(&Actions);
    posix_spawnattr_init(&Attributes);
  }
  ~SpawnSettings() {
    posix_spawn_file_actions_destroy(&Actions);
    posix_spawnattr_destroy(&Attributes);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  posix_spawn_file_actions_t Actions;
  posix_spawnattr_t Attributes;
};

[[noreturn]] void CannotRun(const std::string& program, int error) {
  throw EDatabaseError("Cannot run " + program + ": " + std::strerror(error));
}

}  // namespace

TReaderProcess::TReaderProcess(const std::string& program,
                               const std::vector<std::string>& arguments,
                               std::chrono::milliseconds timeLimit, std::uint64_t maxBytes)
    : FDeadline(std::chrono::steady_clock::now() + timeLimit), FMaxBytes(maxBytes) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) CannotRun(program, errno);
  platform::UniqueFd readEnd(pipeFds[0]);
  const platform::UniqueFd writeEnd(pipeFds[1]);

  SpawnSettings settings;
  posix_spawn_file_actions_addopen(&settings.Actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&settings.Actions, writeEnd.Get(), 1);
  posix_spawn_file_actions_addopen(&settings.Actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&settings.Actions, 3);
  // The child starts with default signal handling and nothing blocked, whatever this process set.
  sigset_t none;
  sigset_t defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGTERM);
  sigaddset(&defaults, SIGINT);
  posix_spawnattr_setsigmask(&settings.Attributes, &none);
  posix_spawnattr_setsigdefault(&settings.Attributes, &defaults);
  posix_spawnattr_setflags(&settings.Attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const int rc = posix_spawn(&FPid, program.c_str(), &settings.Actions, &settings.Attributes,
                             argv.data(), environ);
  if (rc != 0) {
    FPid = -1;
    CannotRun(program, rc);
  }
  FOutput = readEnd.Release();
}

TReaderProcess::~TReaderProcess() {
  Kill();
  if (FOutput >= 0) ::close(FOutput);
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
    pollfd ready{FOutput, POLLIN, 0};
    const int left = MillisecondsLeft();
    const int polled = left > 0 ? ::poll(&ready, 1, left) : 0;
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) {
      Kill();
      throw EAccessStreamError("The reader did not finish within its time limit");
    }
    const ssize_t n = ::read(FOutput, into, size);
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
