#include "platform/testing/foreign_listener.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/testing/unprivileged.h"

namespace platform::testing {
namespace {

[[noreturn]] void Listen(const std::string& endpoint, int ready, int report) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, endpoint.c_str(), sizeof address.sun_path - 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (setgroups(0, nullptr) != 0 || setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0 ||
      fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 16) != 0) {
    _exit(1);
  }
  const char up = 1;
  if (write(ready, &up, 1) != 1) _exit(1);
  close(ready);
  std::size_t total = 0;
  for (;;) {
    const int peer = accept(fd, nullptr, nullptr);
    if (peer < 0) continue;
    char buffer[4096];
    for (ssize_t got; (got = read(peer, buffer, sizeof buffer)) > 0;) {
      total += static_cast<std::size_t>(got);
      if (write(report, &total, sizeof total) != sizeof total) _exit(1);
    }
    close(peer);
  }
}

}  // namespace

ForeignListener::ForeignListener(const std::string& endpoint) {
  int ready[2];
  int report[2];
  if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(report, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe failed";
    return;
  }
  FPid = fork();
  if (FPid == 0) {
    close(ready[0]);
    close(report[0]);
    Listen(endpoint, ready[1], report[1]);
  }
  close(ready[1]);
  close(report[1]);
  FReport.Reset(report[0]);
  char up = 0;
  const bool listening = read(ready[0], &up, 1) == 1;
  close(ready[0]);
  EXPECT_TRUE(listening) << "the other user could not listen at " << endpoint;
}

ForeignListener::~ForeignListener() {
  Stop();
}

void ForeignListener::Stop() {
  if (FPid > 0) {
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
    FPid = -1;
  }
  if (FReport.Valid()) {
    for (std::size_t total; read(FReport.Get(), &total, sizeof total) == sizeof total;)
      FBytes = total;
    FReport.Close();
  }
}

std::size_t ForeignListener::BytesReceived() {
  Stop();
  return FBytes;
}

}  // namespace platform::testing
