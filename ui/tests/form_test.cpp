#include "ui/form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/edit.h"
#include "ui/screen.h"
#include "ui/testing/scripted_screen.h"

namespace ui {
namespace {

// A dialog like the record entry form: Enter and Escape end it, every key still reaches the box.
struct EntryForm : TForm {
  EntryForm() : TForm("TFEntry") {
    KeyPreview = true;
    OnKeyDown = [this](TKey& key, TShiftState) {
      Seen.push_back(key);
      if (key == VK_RETURN) SetModalResult(mrOk);
      if (key == VK_ESCAPE) SetModalResult(mrCancel);
    };
  }
  std::vector<TKey> Seen;
};

TEST(KeyPreview, TheFormSeesEveryKeyFirstAndTheKeyGoesOn) {
  struct {
    TKey key;
    TShiftState shift;
    int result;
  } cases[] = {
      {VK_RETURN, 0, mrOk}, {VK_RETURN, ssShift | ssCtrl, mrOk}, {VK_ESCAPE, 0, mrCancel},
      {'A', 0, mrNone},     {VK_DELETE, ssCtrl, mrNone},
  };
  for (const auto& c : cases) {
    EntryForm form;
    EXPECT_TRUE(form.KeyDown(c.key, c.shift)) << c.key;
    EXPECT_EQ(form.ModalResult(), c.result) << c.key;
    EXPECT_EQ(form.Seen, std::vector<TKey>{c.key});
  }
}

TEST(KeyPreview, WithoutKeyPreviewTheHandlerHearsNothing) {
  EntryForm form;
  form.KeyPreview = false;
  EXPECT_TRUE(form.KeyDown(VK_RETURN, 0));
  EXPECT_TRUE(form.Seen.empty());
  EXPECT_EQ(form.ModalResult(), mrNone);
}

TEST(KeyPreview, AHandlerThatClearsTheKeySwallowsIt) {
  TForm form("TFTest");
  form.KeyPreview = true;
  form.OnKeyDown = [](TKey& key, TShiftState shift) {
    if (key == VK_DELETE && (shift & ssCtrl)) key = 0;
  };
  EXPECT_FALSE(form.KeyDown(VK_DELETE, ssCtrl));
  EXPECT_TRUE(form.KeyDown(VK_DELETE, 0));
}

TEST(EditKeyPress, EnterIsSwallowedAndRunsTheSearchOtherCharactersReachTheBox) {
  TEdit edIn("edIn");
  int searches = 0;
  edIn.OnKeyPress = [&](char32_t& key) {
    if (key == 13) {
      key = 0;
      ++searches;
    }
  };
  EXPECT_FALSE(edIn.KeyPress(13));
  EXPECT_TRUE(edIn.KeyPress(U'동'));
  EXPECT_TRUE(edIn.KeyPress(U'%'));
  EXPECT_EQ(searches, 1);
  EXPECT_EQ(edIn.Text(), "") << "a key press alone puts nothing into the box";
}

TEST(Edit, OnChangeRunsWhenTheTextChangesWhoeverChangesIt) {
  TEdit edit;
  std::vector<std::string> seen;
  int repaints = 0;
  edit.OnChange = [&] { seen.push_back(edit.Text()); };
  edit.Changed.Connect([&] { ++repaints; });
  for (const char* text : {"서울", "서울", "", "부산"}) edit.SetText(text);
  EXPECT_EQ(seen, (std::vector<std::string>{"서울", "", "부산"}));
  EXPECT_EQ(repaints, 3);
}

TEST(ActiveControl, MovingTheFocusRunsTheExitOfTheControlLeft) {
  struct Box : TEdit {
    using TEdit::TEdit;
    void DoExit() override { ++Exits; }
    int Exits = 0;
  };
  TForm form("TFTest");
  Box a("a"), b("b");
  int repaints = 0;
  form.Changed.Connect([&] { ++repaints; });
  form.SetActiveControl(&a);
  form.SetActiveControl(&a);
  EXPECT_EQ(a.Exits, 0);
  form.SetActiveControl(&b);
  form.SetActiveControl(nullptr);
  EXPECT_EQ(a.Exits, 1);
  EXPECT_EQ(b.Exits, 1);
  EXPECT_EQ(form.ActiveControl(), nullptr);
  EXPECT_EQ(repaints, 3);
}

TEST(ScriptedModal, ShowingRunsOnShowBeforeTheUserAndOnCloseAfter) {
  testing::ScriptedScreen screen;
  TForm form("TFTest");
  form.SetCaption("자료입력");
  std::vector<std::string> steps;
  form.OnShow = [&] { steps.push_back("show"); };
  form.OnClose = [&] { steps.push_back("close"); };
  form.SetModalResult(mrOk);  // left over from an earlier showing
  screen.ExpectModal("자료입력", [&](TForm& f) {
    steps.push_back("user, result " + std::to_string(f.ModalResult()));
    return mrCancel;
  });
  EXPECT_EQ(screen.ShowModal(form), mrCancel);
  EXPECT_EQ(steps, (std::vector<std::string>{"show", "user, result 0", "close"}));
}

}  // namespace
}  // namespace ui
