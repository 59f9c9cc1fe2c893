#include <gtest/gtest.h>
#include <wx/artprov.h>
#include <wx/statbmp.h>

#include <cstring>

#include "platform/folders.h"
#include "platform/paths.h"
#include "ui/wx/convert.h"
#include "ui/wx/tests/window_test_support.h"
#include "ui/wx/wx_screen.h"

namespace ui::wx {
namespace {

using testing::TModalDriver;

struct TShownBox {
  std::string Title;
  std::vector<std::string> Texts;
  std::vector<std::string> Buttons;
  std::vector<wxBitmap> Icons;
};

TShownBox Read(wxDialog& dialog) {
  TShownBox shown{
      FromWx(dialog.GetTitle()), testing::StaticTexts(dialog), testing::ButtonLabels(dialog), {}};
  for (wxWindow* child : dialog.GetChildren()) {
    if (auto* icon = dynamic_cast<wxStaticBitmap*>(child)) shown.Icons.push_back(icon->GetBitmap());
  }
  return shown;
}

bool SamePicture(const wxBitmap& a, const wxBitmap& b) {
  wxImage x = a.ConvertToImage();
  wxImage y = b.ConvertToImage();
  return x.GetSize() == y.GetSize() &&
         std::memcmp(x.GetData(), y.GetData(), x.GetWidth() * x.GetHeight() * 3) == 0;
}

wxBitmap Art(const wxArtID& art) {
  return wxArtProvider::GetBitmap(art, wxART_MESSAGE_BOX);
}

void ExpectIcon(const TShownBox& shown, const wxArtID& art) {
  if (art.empty()) {
    EXPECT_TRUE(shown.Icons.empty()) << "an icon on a box that names none";
    return;
  }
  ASSERT_EQ(shown.Icons.size(), 1u);
  EXPECT_TRUE(SamePicture(shown.Icons[0], Art(art))) << "not the " << art << " icon";
}

TEST(MessageBox, ShowsItsTextTitleAndIconAndAnswersByItsButtons) {
  // The check means something only while the three pictures differ.
  ASSERT_FALSE(SamePicture(Art(wxART_INFORMATION), Art(wxART_WARNING)));
  ASSERT_FALSE(SamePicture(Art(wxART_WARNING), Art(wxART_ERROR)));
  ASSERT_FALSE(SamePicture(Art(wxART_INFORMATION), Art(wxART_ERROR)));

  struct {
    TMsgButtons buttons;
    TMsgIcon icon;
    wxArtID art;
    const char* press;  // null: the close box
    int answer;
  } cases[] = {
      {TMsgButtons::OkCancel, TMsgIcon::Warning, wxART_WARNING, "확인", mrOk},
      {TMsgButtons::OkCancel, TMsgIcon::Warning, wxART_WARNING, "취소", mrCancel},
      {TMsgButtons::OkCancel, TMsgIcon::Error, wxART_ERROR, nullptr, mrCancel},
      {TMsgButtons::Ok, TMsgIcon::Information, wxART_INFORMATION, "확인", mrOk},
      {TMsgButtons::Ok, TMsgIcon::None, wxArtID(), nullptr, mrOk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.press ? c.press : "close box");
    WxScreen screen;
    TShownBox shown;
    TModalDriver user({[&](wxDialog& dialog) {
      shown = Read(dialog);
      if (c.press) {
        testing::PressButton(dialog, c.press);
      } else {
        dialog.Close();
      }
    }});
    int answer = screen.MessageBox(nullptr, "같은 DB가 존재합니다. 덮어 쓰겠습니까?", "주의",
                                   c.buttons, c.icon);
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(shown.Title, "주의");
    EXPECT_EQ(shown.Texts, std::vector<std::string>{"같은 DB가 존재합니다. 덮어 쓰겠습니까?"});
    EXPECT_EQ(shown.Buttons, c.buttons == TMsgButtons::Ok
                                 ? std::vector<std::string>{"확인"}
                                 : (std::vector<std::string>{"확인", "취소"}));
    ExpectIcon(shown, c.art);
  }
}

TEST(MessageBox, PlainMessageAndErrorBoxCarryTheApplicationsName) {
  WxScreen screen;
  std::string appName = platform::ApplicationName(platform::ExecutablePath());
  ASSERT_EQ(screen.ApplicationTitle(), appName);
  TShownBox plain, error;
  TModalDriver user({[&](wxDialog& d) {
                       plain = Read(d);
                       testing::PressButton(d, "확인");
                     },
                     [&](wxDialog& d) {
                       error = Read(d);
                       testing::PressButton(d, "확인");
                     }});
  screen.ShowMessage("작업을 끝내려면 '라벨디자인'\r\n버튼을 클릭 해주세요.");
  screen.ShowError("Unable to write to /x/zeder.INI");
  EXPECT_EQ(plain.Title, appName);
  EXPECT_EQ(plain.Texts,
            std::vector<std::string>{"작업을 끝내려면 '라벨디자인'\n버튼을 클릭 해주세요."});
  EXPECT_EQ(plain.Buttons, std::vector<std::string>{"확인"});
  ExpectIcon(plain, wxArtID());
  EXPECT_EQ(error.Title, appName);
  EXPECT_EQ(error.Texts, std::vector<std::string>{"Unable to write to /x/zeder.INI"});
  ExpectIcon(error, wxART_ERROR);
}

}  // namespace
}  // namespace ui::wx
