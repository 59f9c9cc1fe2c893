#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"

namespace platform {
namespace {

using testing::ScopedEnv;
using testing::ScratchDir;

bool Held(const InstanceLock& lock) {
  return !lock.HeldByAnotherCopy() && lock.Problem().empty();
}

// A process that takes the lock for `name`, says whether it got it, and waits to be killed.
class LockHolder {
 public:
  explicit LockHolder(const std::string& name) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    FPid = fork();
    if (FPid == 0) {
      close(ready[0]);
      InstanceLock lock(name);
      char got = Held(lock) ? 1 : 0;
      if (write(ready[1], &got, 1) != 1) _exit(1);
      for (;;) pause();
    }
    close(ready[1]);
    char got = 0;
    EXPECT_EQ(read(ready[0], &got, 1), 1);
    close(ready[0]);
    FAcquired = got == 1;
  }
  ~LockHolder() { Kill(); }
  bool Acquired() const { return FAcquired; }
  void Kill() {
    if (FPid <= 0) return;
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
    FPid = -1;
  }

 private:
  pid_t FPid = -1;
  bool FAcquired = false;
};

TEST(InstanceLock, OneHolderPerExecutableNameUntilItDies) {
  ScratchDir dir;
  ScopedEnv runtime("XDG_RUNTIME_DIR", dir.PrivateFolder("run"));
  LockHolder first("Zeravu");
  ASSERT_TRUE(first.Acquired());

  EXPECT_TRUE(InstanceLock("Zeravu").HeldByAnotherCopy());
  EXPECT_FALSE(LockHolder("Zeravu").Acquired());
  EXPECT_TRUE(Held(InstanceLock("Zireziv")));  // another program's name
  EXPECT_TRUE(Held(InstanceLock("Zeravu.copy")));

  first.Kill();  // no clean-up runs; the kernel drops the lock
  auto next = std::make_unique<InstanceLock>("Zeravu");
  EXPECT_TRUE(Held(*next));
  EXPECT_FALSE(LockHolder("Zeravu").Acquired());
  next.reset();
  EXPECT_TRUE(LockHolder("Zeravu").Acquired());
}

// Anything but another copy is no reason to refuse: the lock is simply not there, and the
// problem says why. Nothing is followed or changed on the way.
TEST(InstanceLock, ALockFileThatCannotBeUsedIsAProblemNotAnotherCopy) {
  ScratchDir dir;
  ScopedEnv runtime("XDG_RUNTIME_DIR", dir.PrivateFolder("run"));
  const std::string path = dir.Path("run/Zeravu.lock");
  const std::string victim = dir.Write("victim", "precious");
  ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
  InstanceLock linked("Zeravu");
  EXPECT_FALSE(linked.HeldByAnotherCopy());
  EXPECT_EQ(linked.Problem(), path + ": it is a link");
  EXPECT_EQ(dir.Read("victim"), "precious");

  if (geteuid() != 0) return;  // a file of another user's can only be planted by root
  ASSERT_EQ(unlink(path.c_str()), 0);
  dir.Write("run/Zeravu.lock", "");
  ASSERT_EQ(chown(path.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId), 0);
  InstanceLock foreign("Zeravu");
  EXPECT_FALSE(foreign.HeldByAnotherCopy());
  EXPECT_EQ(foreign.Problem(), path + ": not a file of this user's");
}

}  // namespace
}  // namespace platform
