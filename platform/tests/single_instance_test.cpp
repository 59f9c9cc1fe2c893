#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/errors.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"

namespace platform {
namespace {

using testing::ScopedEnv;
using testing::ScratchDir;

// A process that takes the lock for `name`, says whether it got it, and waits to be killed.
class LockHolder {
 public:
  explicit LockHolder(const std::string& name) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    FPid = fork();
    if (FPid == 0) {
      close(ready[0]);
      std::unique_ptr<InstanceLock> lock = InstanceLock::TryAcquire(name);
      char got = lock ? 1 : 0;
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
  ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Root());
  LockHolder first("Zeravu");
  ASSERT_TRUE(first.Acquired());

  EXPECT_EQ(InstanceLock::TryAcquire("Zeravu"), nullptr);
  EXPECT_FALSE(LockHolder("Zeravu").Acquired());
  EXPECT_NE(InstanceLock::TryAcquire("Zireziv"), nullptr);  // another program's name
  EXPECT_NE(InstanceLock::TryAcquire("Zeravu.copy"), nullptr);

  first.Kill();  // no clean-up runs; the kernel drops the lock
  std::unique_ptr<InstanceLock> next = InstanceLock::TryAcquire("Zeravu");
  EXPECT_NE(next, nullptr);
  EXPECT_FALSE(LockHolder("Zeravu").Acquired());
  next.reset();
  EXPECT_TRUE(LockHolder("Zeravu").Acquired());
}

TEST(InstanceLock, PlantedLinkIsNotFollowed) {
  ScratchDir dir;
  ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Root());
  dir.Write("victim", "precious");
  ASSERT_EQ(symlink(dir.Path("victim").c_str(), dir.Path("Zeravu.lock").c_str()), 0);
  EXPECT_THROW(InstanceLock::TryAcquire("Zeravu"), EInOutError);
  EXPECT_EQ(dir.Read("victim"), "precious");
}

}  // namespace
}  // namespace platform
