// Zeravu's lookup dialog on a real (virtual) display: the wiring its view adds to the form. Run
// under xvfb-run -a. Zireziv's window is driven from outside by zireziv_window_tests.

#include "postcode/zip_search_view.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <string>

#include "platform/testing/scratch_dir.h"
#include "postcode/zip_search.h"
#include "postcodedb/zip_database.h"
#include "ui/wx/convert.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"

namespace postcode {
namespace {

using platform::testing::ScratchDir;
using ui::wx::testing::TModalDriver;

template <class TWidget>
TWidget* FindChild(wxWindow& window) {
  for (wxWindow* child : window.GetChildren()) {
    if (auto* found = dynamic_cast<TWidget*>(child)) return found;
    if (TWidget* found = FindChild<TWidget>(*child)) return found;
  }
  return nullptr;
}

TEST(ZeravuZipDialog, EnterSearchesAndOkEndsWithThePickedRow) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.Path("DB/Zip"));
  postcodedb::BuildZipDatabase(dir.Write("zip.csv",
                                    "우편번호,주소,읍면동\n"
                                    "135-081,서울 강남구 역삼2동,역삼2동\n"
                                    "135-080,서울 강남구 역삼동,역삼동\n"
                                    "110-033,서울 종로구 청운동,청운동\n"),
                          ZipDBPathBeside(dir.Root()));
  ui::wx::WxScreen screen;
  TFZipSearch form(screen, dir.Root());
  form.FormCreate();
  TZipSearchView view(screen, form, TZipSearchView::TLayout::ZeravuDialog);

  wxSize client;
  wxCheckBox* onlyZip = nullptr;
  std::string typed;
  int entersInTheBox = 0;
  TModalDriver user({[&](wxDialog& d) {
    client = d.GetClientSize();
    onlyZip = FindChild<wxCheckBox>(d);
    wxTextCtrl* edIn = FindChild<wxTextCtrl>(d);
    ASSERT_NE(edIn, nullptr);
    // The box hears of every Enter that reaches it.
    edIn->Bind(wxEVT_TEXT_ENTER, [&](wxCommandEvent& event) {
      ++entersInTheBox;
      event.Skip();
    });
    ui::wx::testing::RunLoopUntil([&] { return edIn->HasFocus(); });
    edIn->SetValue(ui::wx::ToWx("역삼"));  // as the input method hands the text over
    wxUIActionSimulator keyboard;
    keyboard.Char(WXK_RETURN);
    ui::wx::testing::RunLoopUntil([&] { return form.HasRows(); });
    typed = ui::wx::FromWx(edIn->GetValue());
    ui::wx::testing::PressButton(d, "확인");
  }});

  EXPECT_EQ(screen.ShowModal(form), ui::mrOk);
  EXPECT_EQ(client, wxSize(346, 385));
  ASSERT_NE(onlyZip, nullptr);
  EXPECT_EQ(ui::wx::FromWx(onlyZip->GetLabel()), "우편번호만 필요");
  EXPECT_FALSE(onlyZip->IsEnabled());
  EXPECT_EQ(typed, "역삼");
  EXPECT_EQ(entersInTheBox, 0);  // Enter ran the search and never reached the box
  EXPECT_EQ(form.wwDBGrid1.RowCount(), 2);
  EXPECT_EQ(form.ZipCode(), "135-080");
  EXPECT_EQ(form.Address(), "서울 강남구 역삼동");
}

}  // namespace
}  // namespace postcode
