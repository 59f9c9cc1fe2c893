#include "platform/pick_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <future>

#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/testing/foreign_listener.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using testing::ScratchDir;

TEST(PickBlock, Layout) {
  const std::string postcode = "135-080";                                  // 7 bytes
  const std::string address = "\xBC\xAD\xBF\xEF " + std::string(25, 'x');  // 30 bytes
  std::string block = BuildPickBlock(postcode, address);
  ASSERT_EQ(block.size(), 41u);
  EXPECT_EQ(block.substr(0, 7), postcode);
  EXPECT_EQ(block.substr(7, 2), "\r\n");
  EXPECT_EQ(block.substr(9, 30), address);
  EXPECT_EQ(block.substr(39), "\0\0"s);

  EXPECT_EQ(BuildPickBlock("135-080", ""), "135-080\r\n\0\0"s);  // P + 4
  EXPECT_EQ(BuildPickBlock("", ""), "\r\n\0\0"s);
}

TEST(PickChannel, EndpointIsInTheRuntimeFolder) {
  ScratchDir dir;
  testing::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.PrivateFolder("run"));
  EXPECT_EQ(PickEndpoint(), dir.Path("run/TFAddrInput"));
}

// A socket file with nobody behind it, as a crashed receiver leaves it.
void PlantStaleSocket(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
}

TEST(PickChannel, NobodyListeningMeansFalse) {
  ScratchDir dir;
  EXPECT_FALSE(SendPick(dir.Path("TFAddrInput"), BuildPickBlock("1", "a")));
  PlantStaleSocket(dir.Path("stale"));
  EXPECT_FALSE(SendPick(dir.Path("stale"), BuildPickBlock("1", "a")));
  dir.Write("file", "not a socket");
  EXPECT_FALSE(SendPick(dir.Path("file"), BuildPickBlock("1", "a")));
  EXPECT_FALSE(SendPick(dir.Path(std::string(200, 'x')), BuildPickBlock("1", "a")));
}

TEST(PickChannel, EachSendIsOneFrameAndIsAnswered) {
  ScratchDir dir;
  PickReceiver receiver(dir.Path("TFAddrInput"));
  const std::string first = BuildPickBlock("135-080", "\xBC\xAD\xBF\xEF");
  const std::string second = BuildPickBlock("100-011", "");
  auto sender = std::async(std::launch::async, [&] {
    bool sentFirst = SendPick(dir.Path("TFAddrInput"), first);
    return std::make_pair(sentFirst, SendPick(dir.Path("TFAddrInput"), second));
  });
  EXPECT_EQ(receiver.Receive(10s), first);
  EXPECT_EQ(receiver.Receive(10s), second);
  auto [sentFirst, sentSecond] = sender.get();
  EXPECT_TRUE(sentFirst);
  EXPECT_TRUE(sentSecond);
  EXPECT_EQ(receiver.Receive(0ms), std::nullopt);  // nothing more is waiting
}

// Connects and sends raw bytes; answers whether the receiver dropped the connection unanswered.
class RawSender {
 public:
  explicit RawSender(const std::string& endpoint) : FFd(socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, endpoint.c_str());
    EXPECT_EQ(connect(FFd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  void Send(const std::string& bytes) {
    EXPECT_EQ(send(FFd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
  }
  void Close() { FFd.Close(); }
  bool DroppedUnanswered() {
    char answer;
    return recv(FFd.Get(), &answer, 1, 0) <= 0;
  }

 private:
  UniqueFd FFd;
};

TEST(PickChannel, BadSendersAreDroppedAndTheNextGoodFrameArrives) {
  ScratchDir dir;
  const std::string endpoint = dir.Path("TFAddrInput");
  PickReceiver receiver(endpoint);
  const std::string good = BuildPickBlock("135-080", "good");

  RawSender oversize(endpoint);
  oversize.Send("\x01\x00\x10\x00"s);  // kMaxPickBlock + 1
  RawSender hangsUp(endpoint);
  hangsUp.Send(
      "\x0A\x00\x00\x00"
      "abc"s);  // 10 bytes announced, 3 sent
  hangsUp.Close();
  RawSender shortHeader(endpoint);
  shortHeader.Send("\x05\x00"s);
  shortHeader.Close();
  auto sender = std::async(std::launch::async, [&] { return SendPick(endpoint, good); });

  EXPECT_EQ(receiver.Receive(10s), good);
  EXPECT_TRUE(sender.get());
  EXPECT_TRUE(oversize.DroppedUnanswered());
}

TEST(PickChannel, LargestFrameIsAcceptedAndALargerOneIsNotSent) {
  ScratchDir dir;
  PickReceiver receiver(dir.Path("TFAddrInput"));
  const std::string largest(kMaxPickBlock, 'x');
  auto sender = std::async(std::launch::async, [&] {
    bool sentLarger = SendPick(dir.Path("TFAddrInput"), largest + "x");
    return std::make_pair(sentLarger, SendPick(dir.Path("TFAddrInput"), largest));
  });
  EXPECT_EQ(receiver.Receive(10s), largest);
  auto [sentLarger, sentLargest] = sender.get();
  EXPECT_FALSE(sentLarger);
  EXPECT_TRUE(sentLargest);
}

TEST(PickChannel, PeersOfAnotherUserAreDropped) {
  if (geteuid() != 0) GTEST_SKIP() << "a peer of another user needs root to start";
  ScratchDir dir;
  const std::string endpoint = dir.Path("TFAddrInput");
  PickReceiver receiver(endpoint);
  ASSERT_EQ(chmod(endpoint.c_str(), 0777), 0);  // let the other user reach the socket at all
  const std::string good = BuildPickBlock("135-080", "own user");
  auto senders = std::async(std::launch::async, [&] {
    testing::RunAsUnprivileged(
        [&] { EXPECT_FALSE(SendPick(endpoint, BuildPickBlock("666-666", "foreign"))); });
    return SendPick(endpoint, good);
  });
  EXPECT_EQ(receiver.Receive(10s), good);
  EXPECT_TRUE(senders.get());
}

// A listener of another user learns nothing: not even the frame's length reaches it.
TEST(PickChannel, NothingIsSentToAListenerOfAnotherUser) {
  if (geteuid() != 0) GTEST_SKIP() << "a listener of another user needs root to start";
  ScratchDir dir;  // open to every user
  const std::string endpoint = dir.Path("TFAddrInput");
  testing::ForeignListener listener(endpoint);
  EXPECT_FALSE(SendPick(endpoint, BuildPickBlock("110-033", "\xBC\xAD\xBF\xEF"), 500ms));
  EXPECT_EQ(listener.BytesReceived(), 0u);
}

TEST(PickReceiver, TakesOverOnlyAStaleSocketAndRemovesItsOwn) {
  ScratchDir dir;
  const std::string endpoint = dir.Path("TFAddrInput");
  PlantStaleSocket(endpoint);
  {
    PickReceiver receiver(endpoint);
    EXPECT_THROW(PickReceiver second(endpoint), EInOutError);  // a live receiver stays
    auto sender = std::async(std::launch::async, [&] { return SendPick(endpoint, "x"); });
    EXPECT_EQ(receiver.Receive(10s), "x");
    EXPECT_TRUE(sender.get());
  }
  struct stat info;
  EXPECT_NE(lstat(endpoint.c_str(), &info), 0);

  dir.Write("TFAddrInput", "a file of someone else's");
  EXPECT_THROW(PickReceiver receiver(endpoint), EInOutError);
  EXPECT_EQ(dir.Read("TFAddrInput"), "a file of someone else's");
}

}  // namespace
}  // namespace platform
