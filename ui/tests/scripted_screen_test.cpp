#include "ui/testing/scripted_screen.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace ui::testing {
namespace {

const char* const kClosed = "Cannot perform this operation on a closed dataset";

TEST(ScriptedScreen, AnErrorExpectationTakesOnlyAnErrorHoldingTheTextItNames) {
  ScriptedScreen screen;
  screen.ExpectErrorContaining("closed dataset");
  screen.ShowError(kClosed);
  EXPECT_NONFATAL_FAILURE(
      {
        screen.ExpectErrorContaining("addr_rec");
        screen.ShowError(kClosed);
      },
      "but got error box");
  // Every text holds the empty one: such an expectation is refused instead of taking any error.
  EXPECT_NONFATAL_FAILURE(
      {
        screen.ExpectErrorContaining("");
        screen.ShowError(kClosed);
      },
      "needs a part");
}

}  // namespace
}  // namespace ui::testing
