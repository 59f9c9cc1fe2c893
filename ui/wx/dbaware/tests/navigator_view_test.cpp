#include "ui/wx/dbaware/db_navigator_view.h"

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "ui/dbaware/confirm_delete.h"
#include "ui/dbaware/testing/member_table.h"
#include "ui/form.h"
#include "ui/wx/convert.h"
#include "ui/wx/form_view.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"

namespace ui::wx {
namespace {

using ui::testing::TMemberTable;

struct NavForm : TForm {
  explicit NavForm(Screen& screen) : TForm("TFMain"), wwDBNav("wwDBNav", screen, this) {
    SetCaption("자료관리");
    Left = 20;
    Top = 20;
  }
  TwwDBNavigator wwDBNav;
};

struct NavFormView : TFormView {
  NavFormView(WxScreen& screen, NavForm& form)
      : TFormView(screen, form, TKind::Frame),
        Nav(new TwwDBNavigatorView(*this, Window(), form.wwDBNav, wxPoint(128, 5))) {}
  TwwDBNavigatorView* Nav;
};

void MoveOnto(wxWindow& widget) {
  wxUIActionSimulator mouse;
  mouse.MouseMove(widget.GetScreenRect().GetPosition() + widget.GetSize() / 2);
  wxYield();
}

// A click moves one record (the press acts, the click that ends it does not act again); a press
// held down repeats until it is let go; delete asks first.
TEST(NavigatorWindow, ButtonsMoveRepeatWhileHeldAndDeleteAsks) {
  TMemberTable db(40);
  WxScreen screen;
  NavForm form(screen);
  form.wwDBNav.SetDataSource(&db.Source);
  NavFormView view(screen, form);
  view.Show();
  wxBitmapButton& next = *view.Nav->Button(TNavigateBtn::nbNext);
  testing::RunLoopUntil([&] { return next.IsShownOnScreen(); });
  EXPECT_FALSE(view.Nav->Button(TNavigateBtn::nbPrior)->IsEnabled());
  EXPECT_TRUE(next.IsEnabled());
  EXPECT_EQ(next.GetSize(), wxSize(25, 25));

  wxUIActionSimulator mouse;
  MoveOnto(next);
  mouse.MouseClick();
  testing::RunLoopUntil([&] { return db.Table.RecNo() == 2; });
  testing::RunLoopUntil([&] { return view.Nav->Button(TNavigateBtn::nbPrior)->IsEnabled(); });
  EXPECT_EQ(db.Table.RecNo(), 2);

  mouse.MouseDown();
  testing::RunLoopUntil([&] { return db.Table.RecNo() >= 5; });
  mouse.MouseUp();
  wxYield();
  const int letGoAt = db.Table.RecNo();
  const wxLongLong until = wxGetLocalTimeMillis() + 4 * TwwDBNavigator::kRepeatIntervalMs;
  testing::RunLoopUntil([&] { return wxGetLocalTimeMillis() >= until; });
  EXPECT_EQ(db.Table.RecNo(), letGoAt);

  std::string asked;
  {
    testing::TModalDriver user({[&](wxDialog& d) {
      std::vector<std::string> texts = testing::StaticTexts(d);
      if (!texts.empty()) asked = texts.front();
      testing::PressButton(d, "취소");
    }});
    MoveOnto(*view.Nav->Button(TNavigateBtn::nbDelete));
    mouse.MouseClick();
    testing::RunLoopUntil([&] { return user.AllPlayed() && !asked.empty(); });
  }
  EXPECT_EQ(asked, kDeleteRecordPrompt);
  EXPECT_EQ(db.StoredCount(), 40);
}

}  // namespace
}  // namespace ui::wx
