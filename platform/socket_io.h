#pragma once

#include <sys/un.h>

#include <chrono>
#include <string>
#include <string_view>

namespace platform {

// Blocking-style reads and writes on non-blocking sockets, each bounded by a deadline, so a
// stalled peer can hold up neither the sender nor the receiver for long.
using Deadline = std::chrono::steady_clock::time_point;

Deadline DeadlineAfter(std::chrono::milliseconds timeout);
// False when the path does not fit a Unix socket address.
bool MakeUnixAddress(const std::string& path, sockaddr_un& address);
// Waits until `fd` is ready for `events` (poll flags); false at the deadline or on an error.
bool WaitFor(int fd, short events, Deadline deadline);
// False when the peer is gone, on an error or at the deadline. Never raises SIGPIPE.
bool SendAll(int fd, std::string_view bytes, Deadline deadline);
// False when the peer hangs up first, on an error or at the deadline.
bool ReceiveExact(int fd, char* buffer, std::size_t size, Deadline deadline);

}  // namespace platform
