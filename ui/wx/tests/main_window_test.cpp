#include <gtest/gtest.h>
#include <wx/toplevel.h>

#include "platform/testing/scratch_dir.h"
#include "ui/form.h"
#include "ui/form_storage.h"
#include "ui/wx/form_view.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"

namespace ui::wx {
namespace {

TEST(MainWindow, ComesBackWhereItWasClosedAndAsksBeforeClosing) {
  platform::testing::ScratchDir dir;
  dir.Write("Zeravu.INI", "[TFMain]\nLeft=300\nTop=200\nWidth=500\nHeight=400\nMaximized=0\n");
  WxScreen screen;
  TForm form("TFMain");
  form.SetCaption("자료관리");
  form.Left = 274;
  form.Top = 101;
  TFormStorage storage(form);
  storage.IniFileName = dir.Path("Zeravu.INI");
  TFormView view(screen, form, TFormView::TKind::Frame);
  wxTopLevelWindow& window = *view.Window();

  view.Show();
  testing::RunLoopUntil([&] { return window.IsShownOnScreen(); });
  EXPECT_EQ(window.GetRect(), wxRect(300, 200, 500, 400));

  window.Move(120, 80);  // the user moves it
  bool mayClose = false;
  int closed = 0;
  form.OnCloseQuery = [&](bool& canClose) { canClose = mayClose; };
  form.OnClose = [&] { ++closed; };
  window.Close();  // the close box, refused
  EXPECT_TRUE(window.IsShown());
  EXPECT_EQ(closed, 0);
  mayClose = true;
  window.Close();
  EXPECT_FALSE(window.IsShown());
  EXPECT_EQ(closed, 1);

  TForm nextRun("TFMain");
  TFormStorage stored(nextRun);
  stored.IniFileName = storage.IniFileName;
  ASSERT_TRUE(stored.RestoreFormPlacement());
  EXPECT_EQ(stored.Placement, (TPlacement{120, 80, 500, 400, false}));
}

}  // namespace
}  // namespace ui::wx
