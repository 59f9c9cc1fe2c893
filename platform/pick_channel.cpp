#include "platform/pick_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/socket_io.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

// How long one sender may take to deliver its frame once accepted.
constexpr std::chrono::seconds kFrameTime(1);
constexpr char kAnswer = 1;

int NewSocket() {
  return socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

sockaddr_un AddressOf(const std::string& endpoint) {
  sockaddr_un address;
  if (!MakeUnixAddress(endpoint, address)) {
    throw EInOutError("The path " + endpoint + " is too long for a socket", ENAMETOOLONG);
  }
  return address;
}

bool Connect(int fd, const sockaddr_un& address, Deadline deadline) {
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return true;
  if (errno != EINPROGRESS) return false;  // nobody there, refused, or the queue is full
  int error = 0;
  socklen_t length = sizeof error;
  return WaitFor(fd, POLLOUT, deadline) &&
         getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

// A socket file whose receiver is gone refuses connections.
bool IsStaleSocket(const sockaddr_un& address) {
  UniqueFd probe(NewSocket());
  return probe.Valid() &&
         connect(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
         errno == ECONNREFUSED;
}

bool PeerIsThisUser(int fd) {
  ucred peer{};
  socklen_t length = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == getuid();
}

std::optional<std::string> ReadFrame(int fd) {
  Deadline deadline = DeadlineAfter(kFrameTime);
  unsigned char header[4];
  if (!ReceiveExact(fd, reinterpret_cast<char*>(header), sizeof header, deadline)) {
    return std::nullopt;
  }
  std::uint32_t length =
      header[0] | header[1] << 8 | header[2] << 16 | static_cast<std::uint32_t>(header[3]) << 24;
  if (length > kMaxPickBlock) return std::nullopt;
  std::string block(length, '\0');
  if (!ReceiveExact(fd, block.data(), block.size(), deadline)) return std::nullopt;
  SendAll(fd, std::string_view(&kAnswer, 1), deadline);  // the sender may be gone: no matter
  return block;
}

}  // namespace

std::string BuildPickBlock(std::string_view postcodeCp949, std::string_view addressCp949) {
  std::string block;
  block.reserve(postcodeCp949.size() + addressCp949.size() + 4);
  block.append(postcodeCp949).append("\r\n").append(addressCp949);
  block.append(2, '\0');
  return block;
}

std::string PickEndpoint() {
  return JoinPath(RuntimeFolder(), "TFAddrInput");
}

bool SendPick(const std::string& endpoint, std::string_view block,
              std::chrono::milliseconds answerTimeout) {
  sockaddr_un address;
  if (block.size() > kMaxPickBlock || !MakeUnixAddress(endpoint, address)) return false;
  UniqueFd fd(NewSocket());
  Deadline deadline = DeadlineAfter(answerTimeout);
  if (!fd.Valid() || !Connect(fd.Get(), address, deadline)) return false;
  // A pick says where the user lives; it goes to a listener of this user's only.
  if (!PeerIsThisUser(fd.Get())) return false;
  std::uint32_t length = static_cast<std::uint32_t>(block.size());
  std::string frame;
  frame.reserve(4 + block.size());
  for (int shift = 0; shift < 32; shift += 8) frame.push_back(static_cast<char>(length >> shift));
  frame.append(block);
  char answer;
  return SendAll(fd.Get(), frame, deadline) && ReceiveExact(fd.Get(), &answer, 1, deadline);
}

PickReceiver::PickReceiver(std::string endpoint) : FEndpoint(std::move(endpoint)) {
  const sockaddr_un address = AddressOf(FEndpoint);
  UniqueFd fd(NewSocket());
  if (!fd.Valid()) ThrowInOutError(errno);
  auto bindTo = [&] {
    return bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  };
  if (!bindTo()) {
    int err = errno;
    struct stat info;
    bool stale = err == EADDRINUSE && lstat(FEndpoint.c_str(), &info) == 0 &&
                 S_ISSOCK(info.st_mode) && IsStaleSocket(address);
    if (!stale) throw EInOutError("Cannot receive picks at " + FEndpoint, err);
    unlink(FEndpoint.c_str());
    if (!bindTo()) ThrowInOutError(errno);
  }
  struct stat info;
  if (listen(fd.Get(), 16) != 0 || lstat(FEndpoint.c_str(), &info) != 0) {
    int err = errno;
    unlink(FEndpoint.c_str());
    ThrowInOutError(err);
  }
  FDevice = info.st_dev;
  FInode = info.st_ino;
  FFd = std::move(fd);
}

PickReceiver::~PickReceiver() {
  FFd.Close();
  struct stat info;
  if (lstat(FEndpoint.c_str(), &info) == 0 && info.st_dev == FDevice && info.st_ino == FInode) {
    unlink(FEndpoint.c_str());
  }
}

std::optional<std::string> PickReceiver::Receive(std::chrono::milliseconds timeout) {
  Deadline deadline = DeadlineAfter(timeout);
  while (WaitFor(FFd.Get(), POLLIN, deadline)) {
    UniqueFd peer(accept4(FFd.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!peer.Valid() || !PeerIsThisUser(peer.Get())) continue;
    if (std::optional<std::string> block = ReadFrame(peer.Get())) return block;
  }
  return std::nullopt;
}

}  // namespace platform
