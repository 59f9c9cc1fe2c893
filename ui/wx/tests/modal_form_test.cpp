#include <gtest/gtest.h>
#include <wx/dialog.h>

#include <string>
#include <vector>

#include "ui/button.h"
#include "ui/form.h"
#include "ui/wx/control_views.h"
#include "ui/wx/form_view.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"

namespace ui::wx {
namespace {

using testing::TModalDriver;

// A dialog with a "저장" button whose handler sets the result, like the record entry form.
struct EntryForm : TForm {
  EntryForm() : TForm("TFEntry") {
    SetCaption("자료입력");
    BorderStyle = TBorderStyle::Dialog;
    FormStyle = TFormStyle::StayOnTop;
    Color = clFormBlue;
    ClientWidth = 419;
    ClientHeight = 316;
    bbnOK.SetCaption("저장");
    bbnOK.SetGlyph(TGlyph::Ok);
    bbnOK.OnClick = [this] { SetModalResult(mrOk); };
    OnShow = [this] { Steps.push_back("show"); };
    OnClose = [this] { Steps.push_back("close"); };
  }
  TButton bbnOK{"bbnOK"};
  std::vector<std::string> Steps;
};

struct EntryView : TFormView {
  EntryView(WxScreen& screen, EntryForm& form) : TFormView(screen, form, TKind::Dialog) {
    new TButtonView(*this, Window(), form.bbnOK, wxRect(112, 6, 73, 27));
  }
};

TEST(ModalForm, EndsWhenAHandlerSetsTheResultAndByTheCloseBoxWithCancel) {
  WxScreen screen;
  EntryForm form;
  EntryView view(screen, form);
  wxSize client;
  TModalDriver user({[&](wxDialog& d) {
                       client = d.GetClientSize();
                       testing::PressButton(d, "저장");
                     },
                     [](wxDialog& d) { d.Close(); }});
  EXPECT_EQ(screen.ShowModal(form), mrOk);
  EXPECT_EQ(client, wxSize(419, 316));
  EXPECT_FALSE(view.Window()->IsShown());
  // The second showing starts from no result; the close box gives Cancel.
  EXPECT_EQ(screen.ShowModal(form), mrCancel);
  EXPECT_EQ(form.ModalResult(), mrCancel);
  EXPECT_EQ(form.Steps, (std::vector<std::string>{"show", "close", "show", "close"}));
}

TEST(ModalForm, TerminateEndsTheShowingAndNoFurtherWindowComes) {
  WxScreen screen;
  EntryForm form;
  EntryView view(screen, form);
  form.bbnOK.OnClick = [&] {
    screen.Terminate(100);
    screen.ShowMessage("never shown");
  };
  TModalDriver user({[](wxDialog& d) { testing::PressButton(d, "저장"); }});
  EXPECT_EQ(screen.ShowModal(form), mrCancel);
  EXPECT_EQ(screen.ExitCode(), 100);
  EXPECT_EQ(screen.ShowModal(form), mrCancel);
  EXPECT_FALSE(view.Window()->IsShown());
}

}  // namespace
}  // namespace ui::wx
