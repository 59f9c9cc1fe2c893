#include "platform/socket_io.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

Deadline DeadlineAfter(std::chrono::milliseconds timeout) {
  return std::chrono::steady_clock::now() + timeout;
}

bool MakeUnixAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

bool WaitFor(int fd, short events, Deadline deadline) {
  for (;;) {
    auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{fd, events, 0};
    int rc = poll(&entry, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    if (rc > 0) return (entry.revents & (events | POLLHUP | POLLERR)) != 0;
    if (rc == 0) return false;
    if (errno != EINTR) return false;
  }
}

bool SendAll(int fd, std::string_view bytes, Deadline deadline) {
  while (!bytes.empty()) {
    ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    } else if (sent < 0 && errno == EINTR) {
      continue;
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd, POLLOUT, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool ReceiveExact(int fd, char* buffer, std::size_t size, Deadline deadline) {
  while (size > 0) {
    ssize_t got = recv(fd, buffer, size, 0);
    if (got > 0) {
      buffer += got;
      size -= static_cast<std::size_t>(got);
    } else if (got == 0) {
      return false;  // hung up
    } else if (errno == EINTR) {
      continue;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!WaitFor(fd, POLLIN, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace platform
