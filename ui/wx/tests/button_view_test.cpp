#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include "platform/errors.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/wx/control_views.h"
#include "ui/wx/convert.h"
#include "ui/wx/form_view.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"

namespace ui::wx {
namespace {

using testing::TModalDriver;

struct MainForm : TForm {
  MainForm() : TForm("TFMain") {
    SetCaption("자료관리");
    Left = 40;
    Top = 40;
    spbMDBSave.SetCaption("저장");
    spbMDBSave.SetGlyph(TGlyph::Save);
    spbMDBSave.SetHint("저장");
  }
  TButton spbMDBSave{"spbMDBSave"};
};

struct MainView : TFormView {
  MainView(WxScreen& screen, MainForm& form) : TFormView(screen, form, TKind::Frame) {
    Button = new TButtonView(*this, Window(), form.spbMDBSave, wxRect(200, 24, 107, 22));
  }
  TButtonView* Button;
};

// A real mouse click on the button, as the user gives it.
void ClickOn(wxWindow& widget) {
  wxUIActionSimulator mouse;
  mouse.MouseMove(widget.GetScreenRect().GetPosition() + widget.GetSize() / 2);
  mouse.MouseClick();
}

TEST(FlatButton, AClickReachesItsHandlerAndAnEscapedErrorEndsInTheErrorBox) {
  WxScreen screen;
  MainForm form;
  MainView view(screen, form);
  view.Show();
  testing::RunLoopUntil([&] { return view.Button->IsShownOnScreen(); });
  EXPECT_EQ(FromWx(view.Button->GetToolTipText()), "저장");

  int clicks = 0;
  form.spbMDBSave.OnClick = [&] { ++clicks; };
  ClickOn(*view.Button);
  testing::RunLoopUntil([&] { return clicks == 1; });

  std::vector<std::string> errorTexts;
  std::string errorTitle;
  form.spbMDBSave.OnClick = [] {
    throw platform::Exception("Cannot perform this operation on a closed dataset");
  };
  {
    TModalDriver user({[&](wxDialog& d) {
      errorTitle = FromWx(d.GetTitle());
      errorTexts = testing::StaticTexts(d);
      testing::PressButton(d, "확인");
    }});
    ClickOn(*view.Button);
    testing::RunLoopUntil([&] { return user.AllPlayed() && !errorTitle.empty(); });
  }
  EXPECT_EQ(errorTitle, screen.ApplicationTitle());
  EXPECT_EQ(errorTexts,
            std::vector<std::string>{"Cannot perform this operation on a closed dataset"});

  // The program goes on; a disabled button takes no click.
  form.spbMDBSave.OnClick = [&] { ++clicks; };
  form.spbMDBSave.SetEnabled(false);
  EXPECT_FALSE(view.Button->IsEnabled());
  ClickOn(*view.Button);
  form.spbMDBSave.SetEnabled(true);
  ClickOn(*view.Button);
  testing::RunLoopUntil([&] { return clicks == 2; });
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace ui::wx
