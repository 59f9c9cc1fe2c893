// pick-listen: the host's end of the pick message, for host integrators trying the postcode
// window without the host, and for the tests that drive it. Each received pick is printed at
// once as one line, "postcode<TAB>address" in UTF-8.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/pick_channel.h"
#include "programs/pick-listen/pick_line.h"

namespace {

constexpr const char* kUsage =
    "usage: pick-listen [--endpoint PATH] [--hex] [--count N]\n"
    "  --endpoint PATH  listen at PATH instead of the host's pick endpoint\n"
    "  --hex            also print each data block's bytes in hex\n"
    "  --count N        exit after N picks (default: until SIGTERM or SIGINT)\n";

struct TOptions {
  std::string Endpoint;
  bool Hex = false;
  int Count = 0;  // 0: no limit
};

std::optional<TOptions> ParseOptions(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--hex") {
      options.Hex = true;
    } else if (arg == "--endpoint" && hasValue) {
      options.Endpoint = argv[++i];
    } else if (arg == "--count" && hasValue) {
      if (!platform::TryStrToInt(argv[++i], options.Count) || options.Count <= 0) {
        return std::nullopt;
      }
    } else {
      return std::nullopt;
    }
  }
  if (options.Endpoint.empty()) options.Endpoint = platform::PickEndpoint();
  return options;
}

// SIGTERM and SIGINT arrive as readable data on a descriptor the loop polls, so a stop request
// between two picks is never lost and the endpoint is always removed on the way out.
int StopSignals() {
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  if (sigprocmask(SIG_BLOCK, &stops, nullptr) != 0) return -1;
  return signalfd(-1, &stops, SFD_CLOEXEC);
}

int Listen(const TOptions& options, int stopFd) {
  platform::PickReceiver receiver(options.Endpoint);
  std::cerr << "pick-listen: listening at " << options.Endpoint << std::endl;
  for (int received = 0; options.Count == 0 || received < options.Count;) {
    pollfd watched[2] = {{receiver.Fd(), POLLIN, 0}, {stopFd, POLLIN, 0}};
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      std::cerr << "pick-listen: " << std::strerror(errno) << std::endl;
      return 1;
    }
    if (watched[1].revents != 0) break;
    // A sender of another user or with a broken frame is dropped by the receiver: no line.
    if (std::optional<std::string> block = receiver.Receive(std::chrono::milliseconds(0))) {
      std::cout << picklisten::PickLine(*block, options.Hex) << std::endl;
      ++received;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<TOptions> options = ParseOptions(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  int stopFd = StopSignals();
  if (stopFd < 0) {
    std::cerr << "pick-listen: " << std::strerror(errno) << std::endl;
    return 1;
  }
  try {
    return Listen(*options, stopFd);
  } catch (const platform::Exception& e) {
    std::cerr << "pick-listen: " << e.what() << std::endl;
    return 1;
  }
}
