#include "devtools/crash/tests/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

namespace crash::testing {

std::string CrashWriterPath() {
  return ZARIZE_CRASH_WRITER;
}

TChild::TChild(const std::vector<std::string>& args) : TChild(CrashWriterPath(), args) {}

TChild::TChild(const std::string& program, const std::vector<std::string>& args) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);

  FPid = fork();
  if (FPid < 0) throw std::runtime_error("fork failed");
  if (FPid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    execvp(pointers[0], pointers.data());
    _exit(127);
  }
  close(pipeFds[1]);
  FOut.Reset(pipeFds[0]);
}

TChild::~TChild() {
  if (FPid > 0) {
    Kill();
    Wait();
  }
}

void TChild::Kill() {
  if (FPid > 0) kill(FPid, SIGKILL);
}

int TChild::Wait() {
  if (FPid > 0) {
    while (waitpid(FPid, &FStatus, 0) < 0 && errno == EINTR) {
    }
    FPid = -1;
  }
  return FStatus;
}

std::optional<int> TChild::WaitWithin(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (FPid > 0) {
    const pid_t done = waitpid(FPid, &FStatus, WNOHANG);
    if (done == FPid || (done < 0 && errno != EINTR)) {
      FPid = -1;
    } else if (std::chrono::steady_clock::now() >= end) {
      return std::nullopt;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  return FStatus;
}

bool TChild::ReadMore() {
  char buffer[4096];
  for (;;) {
    ssize_t got = read(FOut.Get(), buffer, sizeof buffer);
    if (got > 0) {
      FText.append(buffer, static_cast<std::size_t>(got));
      return true;
    }
    if (got == 0 || errno != EINTR) return false;
  }
}

bool TChild::WaitForFirstReport() {
  while (FText.find('\n') == std::string::npos) {
    if (!ReadMore()) return false;
  }
  return true;
}

std::vector<int> TChild::Reported() {
  while (ReadMore()) {
  }
  const std::string& text = FText;
  // A number counts only once its line is whole.
  std::vector<int> numbers;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    numbers.push_back(std::stoi(text.substr(start, end - start)));
  }
  return numbers;
}

}  // namespace crash::testing
