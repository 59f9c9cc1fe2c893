// The real Zireziv on the test's display, driven from outside as the host and the user drive it.
// Run under xvfb-run: each test starts its own programs with a runtime folder of its own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "devtools/desktop-test/desktop_driver.h"
#include "platform/cp949.h"
#include "platform/pick_channel.h"
#include "platform/testing/foreign_listener.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"
#include "postcodedb/zip_database.h"

namespace zireziv {
namespace {

using namespace desktoptest;
using platform::testing::ScopedEnv;
using platform::testing::ScratchDir;

const std::string kToken = "(갑)";
const std::string kBin = ZARIZE_BIN_DIR;
const std::string kWindowTitle = "우편번호검색";

// In code page 949 the postcode is 7 bytes and the address 30.
const std::string kAddress = "서울특별시 종로구 청운동 1번지";
const std::string kZipList =
    "우편번호,주소,읍면동\n"
    "110-033," +
    kAddress +
    ",청운동\n"
    "135-080,서울 강남구 역삼동,역삼동\n";

// Points in the window's client area, from its designed layout: Panel2 starts at 352.
constexpr int kFirstRowX = 60, kFirstRowY = 66;  // in the grid, below its title row
constexpr int kOkX = 212, kOkY = 368;            // "확인"
constexpr int kCancelX = 292, kCancelY = 368;    // "취소(닫기)"

std::string Hex(const std::string& bytes) {
  std::ostringstream hex;
  for (unsigned char byte : bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    hex << kDigits[byte >> 4] << kDigits[byte & 0x0F];
  }
  return hex.str();
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ZirezivProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run the window tests under xvfb-run -a";
  }

  // A copy of Zireziv under `name`, installed as the host installs it: the program with the
  // postcode database beside it, built from kZipList.
  std::string Install(const std::string& name) {
    std::string folder = scratch.Path("install-" + name);
    std::filesystem::create_directories(folder + "/DB/Zip");
    std::filesystem::copy_file(kBin + "/Zireziv", folder + "/" + name);
    postcodedb::BuildZipDatabase(scratch.Write("zip.csv", kZipList), folder + "/DB/Zip/20080327.mdb");
    return folder + "/" + name;
  }

  // The window as the user finds it once the program is up.
  std::string MainWindow(TChild& program) {
    std::optional<std::string> window = WaitForWindow(program.Pid(), kWindowTitle);
    EXPECT_TRUE(window) << "no " << kWindowTitle << " window came up";
    return window.value_or("");
  }

  ScratchDir scratch;
  ScopedEnv runtime{"XDG_RUNTIME_DIR", scratch.PrivateFolder("run")};
  ScopedEnv backend{"GDK_BACKEND", "x11"};
  ScopedEnv noAccessibility{"NO_AT_BRIDGE", "1"};
};

TEST_F(ZirezivProcess, WithoutTheTokenItSaysSoAndEndsWithExitCode100) {
  TChild zireziv(kBin + "/Zireziv", {});
  std::optional<std::string> box = WaitForWindow(zireziv.Pid(), "알림");
  ASSERT_TRUE(box) << "the 알림 box did not come";
  for (const std::string& window : VisibleWindows(zireziv.Pid())) {
    EXPECT_NE(WindowName(window), kWindowTitle) << "the window showed before the token check";
  }
  ASSERT_TRUE(PressKey(*box, "Return"));
  EXPECT_EQ(zireziv.WaitExit(10s), 100);
}

TEST_F(ZirezivProcess, OneCopyPerExecutableFileName) {
  TChild first(kBin + "/Zireziv", {kToken});
  std::string window = MainWindow(first);
  ASSERT_FALSE(window.empty());

  // Same file name: the plain message window, titled with the application's name, then 0.
  TChild second(Install("Zireziv"), {kToken});
  std::optional<std::string> refusal = WaitForWindow(second.Pid(), "Zireziv");
  ASSERT_TRUE(refusal) << "the second copy did not say it gives way";
  EXPECT_EQ(VisibleWindows(second.Pid()).size(), 1u);
  ASSERT_TRUE(PressKey(*refusal, "Return"));
  EXPECT_EQ(second.WaitExit(10s), 0);
  EXPECT_TRUE(first.Running());

  // Another file name is another program, and starts beside the first.
  TChild renamed(Install("Zireziv2"), {kToken});
  std::optional<std::string> renamedWindow = WaitForWindow(renamed.Pid(), kWindowTitle);
  ASSERT_TRUE(renamedWindow);
  EXPECT_TRUE(first.Running());

  // "취소(닫기)" closes the window and ends the program with 0. The newer window lies on top of
  // the older one at the same place, so it goes first.
  ASSERT_TRUE(Click(*renamedWindow, kCancelX, kCancelY));
  EXPECT_EQ(renamed.WaitExit(10s), 0);
  EXPECT_TRUE(first.Running());
  ASSERT_TRUE(Click(window, kCancelX, kCancelY));
  EXPECT_EQ(first.WaitExit(10s), 0);
}

TEST_F(ZirezivProcess, PicksReachTheHostAsCp949DataBlocks) {
  const std::string listened = scratch.Path("picks.txt");
  TChild host(kBin + "/pick-listen", {"--hex", "--count", "2"}, listened);
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(scratch.Path("run/TFAddrInput")); }))
      << "pick-listen did not come up";

  // The token as the host passes it: its code page 949 bytes.
  TChild zireziv(Install("Zireziv"), {"\x28\xB0\xA9\x29"});
  std::string window = MainWindow(zireziv);
  ASSERT_FALSE(window.empty());
  ASSERT_TRUE(TypeText(window, "청운동"));
  ASSERT_TRUE(PressKey(window, "Return"));
  // Both ways of picking: a double click on the row, then "확인" on the same row.
  ASSERT_TRUE(Click(window, kFirstRowX, kFirstRowY, 2));
  ASSERT_TRUE(WaitUntil([&] { return Lines(listened).size() == 1; }))
      << "the double click sent nothing";
  ASSERT_TRUE(Click(window, kOkX, kOkY));
  EXPECT_EQ(host.WaitExit(10s), 0) << "the host did not get two picks";

  const std::string block = platform::BuildPickBlock("110-033", platform::ToCp949(kAddress));
  ASSERT_EQ(block.size(), 41u);
  const std::string line = "110-033\t" + kAddress + "\t" + Hex(block);
  EXPECT_EQ(Lines(listened), (std::vector<std::string>{line, line}));
  EXPECT_TRUE(zireziv.Running());  // the window stays for further picks
}

// When the single-instance lock cannot be made, Zireziv goes on without it: the host still sees
// only its exit codes, 100 for a refused token and 0 for every other end.
TEST_F(ZirezivProcess, ALockThatCannotBeMadeEndsNothingWithAnUnknownCode) {
  const std::string program = Install("Zireziv");
  const std::string victim = scratch.Write("victim", "precious");
  ASSERT_EQ(symlink(victim.c_str(), scratch.Path("run/Zireziv.lock").c_str()), 0);
  auto refusedWith100 = [&] {
    TChild refused(program, {});
    std::optional<std::string> box = WaitForWindow(refused.Pid(), "알림");
    ASSERT_TRUE(box) << "the token was not checked";
    ASSERT_TRUE(PressKey(*box, "Return"));
    EXPECT_EQ(refused.WaitExit(10s), 100);
  };
  refusedWith100();
  {
    TChild zireziv(program, {kToken});
    const std::string window = MainWindow(zireziv);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(Click(window, kCancelX, kCancelY));
    EXPECT_EQ(zireziv.WaitExit(10s), 0);
  }
  EXPECT_EQ(scratch.Read("victim"), "precious");

  // A runtime folder of another user's: the private folder in /tmp serves instead.
  if (geteuid() != 0) return;  // another user needs root to start
  std::optional<ScopedEnv> authority;
  if (auto key = CopyDisplayKey(scratch.Path("Xauthority"))) authority.emplace("XAUTHORITY", *key);
  platform::testing::RunAsUnprivileged(refusedWith100);
}

// A runtime folder that other users can write is not where picks go: a listener another user
// planted there learns nothing, and the picks reach the private folder in /tmp instead.
TEST_F(ZirezivProcess, PicksNeverGoToARuntimeFolderOthersCanWrite) {
  if (geteuid() != 0) GTEST_SKIP() << "a listener of another user needs root to start";
  const std::string open = scratch.Path("open");
  std::filesystem::create_directory(open);
  std::filesystem::permissions(open, std::filesystem::perms::all);
  ScopedEnv openRuntime("XDG_RUNTIME_DIR", open);
  platform::testing::ForeignListener planted(open + "/TFAddrInput");
  platform::PickReceiver host(platform::PickEndpoint());  // where Zireziv sends instead

  TChild zireziv(Install("Zireziv"), {kToken});
  std::string window = MainWindow(zireziv);
  ASSERT_FALSE(window.empty());
  ASSERT_TRUE(TypeText(window, "청운동"));
  ASSERT_TRUE(PressKey(window, "Return"));
  auto received = std::async(std::launch::async, [&] { return host.Receive(10s); });
  ASSERT_TRUE(Click(window, kFirstRowX, kFirstRowY, 2));
  EXPECT_EQ(received.get(), platform::BuildPickBlock("110-033", platform::ToCp949(kAddress)));
  EXPECT_EQ(planted.BytesReceived(), 0u);
}

// The reference receiver goes away cleanly when told to, and takes its endpoint with it, so the
// next receiver can listen there.
TEST(PickListen, StopsOnSigtermAndSigint) {
  for (int signal : {SIGTERM, SIGINT}) {
    ScratchDir scratch;
    const std::string endpoint = scratch.Path("TFAddrInput");
    TChild host(kBin + "/pick-listen", {"--endpoint", endpoint});
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(endpoint); }));
    EXPECT_TRUE(platform::SendPick(endpoint, platform::BuildPickBlock("1", "")));
    host.Signal(signal);
    EXPECT_EQ(host.WaitExit(10s), 0) << "signal " << signal;
    EXPECT_FALSE(std::filesystem::exists(endpoint));
  }
}

}  // namespace
}  // namespace zireziv
