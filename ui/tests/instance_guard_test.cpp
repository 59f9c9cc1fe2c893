#include "ui/instance_guard.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "ui/testing/scripted_screen.h"

namespace ui {
namespace {

using platform::testing::ScopedEnv;
using platform::testing::ScratchDir;
using ui::testing::ScriptedScreen;

class InstanceGuard : public ::testing::Test {
 protected:
  void TearDown() override { screen.VerifyAllMet(); }

  ScratchDir runtime;
  ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.PrivateFolder("run")};
  ScriptedScreen screen;
  std::ostringstream errors;
};

TEST_F(InstanceGuard, FirstCopyGoesOnSilently) {
  auto lock = CheckSingleInstance(screen, "Zireziv", errors);
  EXPECT_NE(lock, nullptr);
  EXPECT_EQ(screen.TerminatedWith(), std::nullopt);
  EXPECT_TRUE(screen.Shown().empty());
  EXPECT_EQ(errors.str(), "");
}

TEST_F(InstanceGuard, SecondCopyUnderTheSameNameGivesWayWithExitCodeZero) {
  auto first = CheckSingleInstance(screen, "Zireziv", errors);
  ASSERT_NE(first, nullptr);

  ScriptedScreen second;
  second.ExpectPlainMessage("이미 실행중입니다.");
  EXPECT_EQ(CheckSingleInstance(second, "Zireziv", errors), nullptr);
  EXPECT_EQ(second.TerminatedWith(), 0);
  second.VerifyAllMet();

  // The name is the executable's file name: a renamed copy and Zeravu are other programs.
  ScriptedScreen other;
  EXPECT_NE(CheckSingleInstance(other, "Zireziv.copy", errors), nullptr);
  EXPECT_NE(CheckSingleInstance(other, "Zeravu", errors), nullptr);
  EXPECT_EQ(other.TerminatedWith(), std::nullopt);

  // Once the first copy is gone, the next start is the first again.
  first.reset();
  EXPECT_NE(CheckSingleInstance(screen, "Zireziv", errors), nullptr);
  EXPECT_EQ(errors.str(), "");
}

// A lock that cannot be made ends nothing and shows nothing: the program goes on without it (so
// a second copy does too) and says why on standard error.
TEST_F(InstanceGuard, ALockThatCannotBeMadeLetsEveryCopyGoOn) {
  const std::string path = runtime.Path("run/Zeravu.lock");
  ASSERT_EQ(symlink(runtime.Write("elsewhere", "").c_str(), path.c_str()), 0);
  for (int copy = 0; copy < 2; ++copy) {
    std::ostringstream said;
    EXPECT_NE(CheckSingleInstance(screen, "Zeravu", said), nullptr) << copy;
    EXPECT_EQ(said.str(),
              "Zeravu: going on without the single-instance guard (" + path + ": it is a link)\n");
  }
  EXPECT_EQ(screen.TerminatedWith(), std::nullopt);
  EXPECT_TRUE(screen.Shown().empty());
}

}  // namespace
}  // namespace ui
