// The settings file's writers against another user's locks: whatever another user locks, the
// writers of this user go on, one after the other, and lose no key.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "devtools/crash/crash_values.h"
#include "devtools/crash/tests/child_process.h"
#include "platform/profile_file.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"
#include "platform/unique_fd.h"

namespace crash::testing {
namespace {

using namespace std::chrono_literals;

// Far longer than a few hundred writes take; a writer still at it then waits for ever.
constexpr auto kHung = 60s;

// A command run as the unprivileged user, the way another local user runs it.
TChild AsOtherUser(const std::vector<std::string>& command) {
  const std::string id = std::to_string(platform::testing::kUnprivilegedId);
  std::vector<std::string> args{"--reuid=" + id, "--regid=" + id, "--clear-groups"};
  args.insert(args.end(), command.begin(), command.end());
  return TChild("setpriv", args);
}

// Whether someone holds an exclusive lock on the file or folder at `path`.
bool Locked(const std::string& path) {
  const platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) return false;
  return flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

TEST(SettingsLock, AnotherUsersLockHoldsUpNoWriterAndTwoWritersLoseNoKey) {
  if (geteuid() != 0) GTEST_SKIP() << "another user's process needs root to start";
  platform::testing::ScratchDir dir;  // open to every user, as a shared install folder can be
  const std::string path = dir.Write("zeder.INI", "[HOST]\nKEEP=1\n");
  platform::ProfileFile(path).WriteString(kSettingsSection, "FIRST", "1");

  // The other user locks the folder, where writers took their lock before, and holds it.
  TChild folderLock =
      AsOtherUser({"flock", "--no-fork", "--exclusive", dir.Root(), "sleep", "600"});
  for (int i = 0; i < 1000 && !Locked(dir.Root()); ++i) std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(Locked(dir.Root())) << "the other user's lock did not come";
  // The writers' own lock file is out of the other user's reach.
  TChild lockFile =
      AsOtherUser({"flock", "--exclusive", "--nonblock", dir.Path(".zeder.INI.lock"), "true"});
  const int tried = lockFile.Wait();
  EXPECT_TRUE(WIFEXITED(tried) && WEXITSTATUS(tried) == 66) << "flock could open the lock file";

  constexpr int kKeys = 150;
  TChild first({"settings", path, "a", "0", std::to_string(kKeys)});
  TChild second({"settings", path, "b", "0", std::to_string(kKeys)});
  for (TChild* writer : {&first, &second}) {
    const std::optional<int> status = writer->WaitWithin(kHung);
    ASSERT_TRUE(status) << "a writer hung behind the other user's lock";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status;
  }
  const platform::ProfileSnapshot file = platform::ProfileFile(path).Read();
  EXPECT_EQ(file.ReadString("HOST", "KEEP", ""), "1");
  for (int n = 0; n < kKeys; ++n) {
    EXPECT_EQ(file.ReadString(kSettingsSection, ItemName("a", n), ""), ItemValue(n)) << n;
    EXPECT_EQ(file.ReadString(kSettingsSection, ItemName("b", n), ""), ItemValue(n)) << n;
  }
}

}  // namespace
}  // namespace crash::testing
