#include "ui/event_guard.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "ui/testing/scripted_screen.h"

namespace ui {
namespace {

TEST(EventGuard, AnEscapedErrorEndsInTheStandardErrorBoxAndTheProgramGoesOn) {
  testing::ScriptedScreen screen;
  screen.ExpectError("Cannot perform this operation on a closed dataset");
  bool after = false;
  RunGuarded(screen, [&] {
    throw platform::Exception("Cannot perform this operation on a closed dataset");
    after = true;
  });
  EXPECT_FALSE(after);
  int ran = 0;
  RunGuarded(screen, [&] { ++ran; });
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace ui
