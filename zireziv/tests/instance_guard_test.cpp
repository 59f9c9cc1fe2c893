#include "zireziv/instance_guard.h"

#include <gtest/gtest.h>

#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "ui/testing/scripted_screen.h"

namespace zireziv {
namespace {

using platform::testing::ScopedEnv;
using platform::testing::ScratchDir;
using ui::testing::ScriptedScreen;

class InstanceGuard : public ::testing::Test {
 protected:
  void TearDown() override { screen.VerifyAllMet(); }

  ScratchDir runtime;
  ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.Root()};
  ScriptedScreen screen;
};

TEST_F(InstanceGuard, FirstCopyGoesOnSilently) {
  auto lock = CheckSingleInstance(screen, "Zireziv");
  EXPECT_NE(lock, nullptr);
  EXPECT_EQ(screen.TerminatedWith(), std::nullopt);
  EXPECT_TRUE(screen.Shown().empty());
}

TEST_F(InstanceGuard, SecondCopyUnderTheSameNameGivesWayWithExitCodeZero) {
  auto first = CheckSingleInstance(screen, "Zireziv");
  ASSERT_NE(first, nullptr);

  ScriptedScreen second;
  second.ExpectPlainMessage("이미 실행중입니다.");
  EXPECT_EQ(CheckSingleInstance(second, "Zireziv"), nullptr);
  EXPECT_EQ(second.TerminatedWith(), 0);
  second.VerifyAllMet();

  // The name is the executable's file name: a renamed copy and Zeravu are other programs.
  ScriptedScreen other;
  EXPECT_NE(CheckSingleInstance(other, "Zireziv.copy"), nullptr);
  EXPECT_NE(CheckSingleInstance(other, "Zeravu"), nullptr);
  EXPECT_EQ(other.TerminatedWith(), std::nullopt);

  // Once the first copy is gone, the next start is the first again.
  first.reset();
  EXPECT_NE(CheckSingleInstance(screen, "Zireziv"), nullptr);
}

}  // namespace
}  // namespace zireziv
