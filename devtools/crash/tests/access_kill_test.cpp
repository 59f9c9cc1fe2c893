// A program killed while it converts an Access file: its reader goes with it, and what the
// conversion left half made goes with the next use of the cache.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "dbengine/access/access_stream.h"
#include "devtools/crash/tests/kill_loop.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"

namespace crash::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Far longer than the kernel takes to end a reader whose program is gone.
constexpr auto kLinger = 5s;

// While it lives, the orphans of the programs this process starts become its own children
// instead of init's, so the test can see whether any outlives its program.
class OrphansComeHere {
 public:
  OrphansComeHere() { EXPECT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0); }
  ~OrphansComeHere() { prctl(PR_SET_CHILD_SUBREAPER, 0); }
};

std::vector<pid_t> ChildrenOfThisProcess() {
  std::vector<pid_t> children;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // pid (name) state ppid ...; the name may hold blanks and parentheses.
    std::istringstream rest(line.substr(line.rfind(')') + 1));
    char state = 0;
    pid_t parent = 0;
    if (rest >> state >> parent && parent == getpid()) {
      children.push_back(static_cast<pid_t>(std::stol(entry.path().filename().string())));
    }
  }
  return children;
}

// Reaps the orphans that ended; answers whether all ended within kLinger. Those still running
// then are killed, so the next round starts clean.
bool OrphansEnded() {
  const auto end = std::chrono::steady_clock::now() + kLinger;
  for (;;) {
    const pid_t reaped = waitpid(-1, nullptr, WNOHANG);
    if (reaped < 0 && errno == ECHILD) return true;
    if (reaped > 0) continue;
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(10ms);
  }
  for (pid_t child : ChildrenOfThisProcess()) kill(child, SIGKILL);
  while (waitpid(-1, nullptr, 0) > 0) {
  }
  return false;
}

std::vector<std::string> PartFilesIn(const std::string& folder) {
  std::vector<std::string> parts;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".part-") != std::string::npos) parts.push_back(name);
  }
  return parts;
}

TEST(AccessKill, AReaderDiesWithItsProgramAndPartFilesGoWithTheNextUse) {
  platform::testing::ScratchDir dir;
  const platform::testing::ScopedEnv cache("XDG_CACHE_HOME", dir.Path("cache"));
  // zarize-db, installed with a stand-in reader beside it: the reader writes the start of its
  // stream and then hangs, so a kill lands while the conversion waits for the rest; once told
  // to finish, it writes the whole stream at once.
  fs::create_directories(dir.Path("bin"));
  const std::string program = dir.Path("bin/zarize-db");
  fs::copy_file(std::string(ZARIZE_BIN_DIR) + "/zarize-db", program);
  const std::string reader = dir.Write("bin/zarize-mdb-read",
                                       "#!/bin/sh\n"
                                       "if [ -e \"$1.finish\" ]; then exec cat \"$1.stream\"; fi\n"
                                       "head -c 20 \"$1.stream\"\n"
                                       "touch \"$1.started\"\n"
                                       "exec sleep 600\n");
  fs::permissions(reader, fs::perms::owner_all);
  std::ostringstream stream;
  dbengine::TAccessStreamWriter writer(stream);
  writer.Table({"addr_rec",
                {{"ID", dbengine::TAccessKind::AutoNumber, 4},
                 {"GID", dbengine::TAccessKind::LongInteger, 4},
                 {"선택", dbengine::TAccessKind::Boolean, 0},
                 {"이름", dbengine::TAccessKind::Text, 32}}});
  writer.End();
  dir.Write("list.mdb.stream", stream.str());
  const std::string list =
      dir.Write("list.mdb", std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20) + "list");

  const OrphansComeHere orphans;
  TKillLoop loop("access", 8, 100);
  const std::string started = list + ".started";
  for (int round = 0; round < loop.Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(loop.Seed()));
    fs::remove(started);
    TChild counting(program, {"count", list});
    for (int i = 0; i < 1000 && !fs::exists(started); ++i) std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(fs::exists(started)) << "the reader did not start";
    loop.KillWithin(counting, 50ms);
    ASSERT_TRUE(OrphansEnded()) << "the reader outlived the program that started it";
  }
  // The kills came while conversions were at work, so they left their part files.
  EXPECT_NE(PartFilesIn(dir.Path("cache/zarize")), std::vector<std::string>{});

  dir.Write("list.mdb.finish", "");
  TChild counting(program, {"count", list});
  EXPECT_EQ(counting.Wait(), 0) << "the conversion did not finish";
  EXPECT_EQ(PartFilesIn(dir.Path("cache/zarize")), std::vector<std::string>{});
}

}  // namespace
}  // namespace crash::testing
