// The pick receiver: whatever a sender writes before hanging up, the receiver answers exactly
// the block of a whole frame, and nothing for an oversize, short or empty one.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "devtools/fuzz/fuzz_check.h"
#include "platform/pick_channel.h"
#include "platform/socket_io.h"

namespace {

// Stays below a socket's buffer, so the whole input is sent before the receiver reads.
constexpr std::size_t kMaxInput = 64 * 1024;

struct Endpoint {
  Endpoint() {
    char folder[] = "/tmp/zarize-pick-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(folder) != nullptr);
    Folder = folder;
    Path = Folder + "/TFAddrInput";
    Receiver = std::make_unique<platform::PickReceiver>(Path);
  }
  ~Endpoint() {
    Receiver.reset();
    rmdir(Folder.c_str());
  }
  std::string Folder;
  std::string Path;
  std::unique_ptr<platform::PickReceiver> Receiver;
};

std::optional<std::string> ExpectedBlock(std::string_view sent) {
  if (sent.size() < 4) return std::nullopt;
  std::uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = length << 8 | static_cast<unsigned char>(sent[i]);
  if (length > platform::kMaxPickBlock || sent.size() - 4 < length) return std::nullopt;
  return std::string(sent.substr(4, length));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Endpoint endpoint;
  if (size > kMaxInput) return 0;
  const std::string_view sent(reinterpret_cast<const char*>(data), size);

  sockaddr_un address;
  FUZZ_CHECK(platform::MakeUnixAddress(endpoint.Path, address));
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  FUZZ_CHECK(fd >= 0);
  FUZZ_CHECK(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
  FUZZ_CHECK(send(fd, sent.data(), sent.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(size));
  shutdown(fd, SHUT_WR);

  // The sender is already queued, so no wait is needed to find it.
  const std::optional<std::string> received =
      endpoint.Receiver->Receive(std::chrono::milliseconds(0));
  close(fd);
  FUZZ_CHECK(received == ExpectedBlock(sent));
  return 0;
}
