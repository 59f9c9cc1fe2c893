#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/unique_fd.h"

namespace platform {

// The pick message: the postcode window hands a picked postcode and address to the host's
// address-entry window. A frame on a Unix stream socket carries the data block's length
// (4 bytes, little-endian) and the block; the receiver answers with one byte once it has the
// block.

// Frames longer than this are refused: no pick comes near it.
constexpr std::uint32_t kMaxPickBlock = 1u << 20;

// The postcode, CR LF, the address, two zero bytes; its size is the frame's length.
std::string BuildPickBlock(std::string_view postcodeCp949, std::string_view addressCp949);
// Where the host's address-entry window listens: <RuntimeFolder()>/TFAddrInput.
std::string PickEndpoint();

// Sends one frame and waits for the answer, all within `answerTimeout`. False when nobody
// listens, the listener runs as another user (it is sent nothing), the receiver refuses or drops
// the frame, or no answer comes in time: nothing is shown and nothing else happens.
bool SendPick(const std::string& endpoint, std::string_view block,
              std::chrono::milliseconds answerTimeout = std::chrono::seconds(5));

// The host's end. Accepts only peers running as the same user. A stale socket left at the
// endpoint by a receiver that died is replaced; a live one, or a file that is not a socket,
// is not (EInOutError).
class PickReceiver {
 public:
  explicit PickReceiver(std::string endpoint);
  ~PickReceiver();  // stops listening and removes the endpoint
  PickReceiver(const PickReceiver&) = delete;
  PickReceiver& operator=(const PickReceiver&) = delete;

  // The listening socket, readable when a sender is waiting, for an event loop to watch.
  int Fd() const { return FFd.Get(); }
  // Waits up to `timeout` for a sender and answers the block of its frame. A sender that sends
  // an oversize length, hangs up early, stalls for a second or runs as another user is dropped
  // and the wait goes on.
  std::optional<std::string> Receive(std::chrono::milliseconds timeout);

 private:
  std::string FEndpoint;
  UniqueFd FFd;
  dev_t FDevice = 0;  // identity of the socket file, so that only our own is removed
  ino_t FInode = 0;
};

}  // namespace platform
