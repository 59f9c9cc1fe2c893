#include "ui/timer.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(Timer, ATimerDisabledInItsFirstTickNeverFiresAgain) {
  TTimer tmAct("tmAct");
  tmAct.SetInterval(10);
  tmAct.SetEnabled(false);
  int ticks = 0;
  tmAct.OnTimer = [&] {
    tmAct.SetEnabled(false);
    ++ticks;
  };
  tmAct.Timer();  // queued before the form enabled it: nothing
  EXPECT_EQ(ticks, 0);
  tmAct.SetEnabled(true);
  EXPECT_TRUE(tmAct.Running());
  tmAct.Timer();
  tmAct.Timer();
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(tmAct.Running());
}

TEST(Timer, ViewsHearEveryChangeSoTheyCanStartTheCountAnew) {
  TTimer timer;
  int changes = 0;
  timer.Changed.Connect([&] { ++changes; });
  timer.SetEnabled(true);  // enabling again restarts the count, as setting the interval does
  timer.SetInterval(500);
  timer.SetInterval(0);
  EXPECT_EQ(changes, 3);
  EXPECT_FALSE(timer.Running()) << "a zero interval never fires";
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.Timer();
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace ui
