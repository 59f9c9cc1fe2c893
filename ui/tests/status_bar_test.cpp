#include "ui/status_bar.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace ui {
namespace {

TEST(StatusBar, PanelsKeepTheirWidthAndTextAndABadIndexIsAnError) {
  TStatusBar bar("StatusBar1");
  bar.AddPanel(100, "데이터 베이스");
  bar.AddPanel(200, "...");
  int repaints = 0;
  bar.Changed.Connect([&] { ++repaints; });
  bar.SetPanelText(1, "list.mdb");
  bar.SetPanelText(1, "list.mdb");
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(bar.PanelText(0), "데이터 베이스");
  EXPECT_EQ(bar.Panels().at(1).Width, 200);
  EXPECT_EQ(bar.PanelText(1), "list.mdb");
  try {
    bar.SetPanelText(2, "x");
    FAIL() << "no error for panel 2";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (2)");
  }
}

}  // namespace
}  // namespace ui
