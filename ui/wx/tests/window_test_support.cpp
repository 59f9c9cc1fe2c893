#include "ui/wx/tests/window_test_support.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>

#include "ui/wx/convert.h"

namespace ui::wx::testing {

namespace {

// One toolkit for the whole run of the test executable, on the display the run was given.
class TToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static char name[] = "ui_window_tests";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    wxApp::SetInstance(new wxApp);
    ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display to open windows on";
    ASSERT_TRUE(wxTheApp->CallOnInit());
  }
  void TearDown() override { wxEntryCleanup(); }
};

const ::testing::Environment* const kToolkit =
    ::testing::AddGlobalTestEnvironment(new TToolkitEnvironment);

wxDialog* InnermostModal() {
  wxDialog* innermost = nullptr;
  for (wxWindow* window : wxTopLevelWindows) {
    auto* dialog = dynamic_cast<wxDialog*>(window);
    if (dialog && dialog->IsModal() && dialog->IsShown()) innermost = dialog;
  }
  return innermost;
}

void Collect(wxWindow& window, const std::function<void(wxWindow&)>& visit) {
  for (wxWindow* child : window.GetChildren()) {
    visit(*child);
    Collect(*child, visit);
  }
}

}  // namespace

TModalDriver::TModalDriver(std::vector<TAct> acts, int timeoutMs)
    : FActs(acts.begin(), acts.end()) {
  FPoll.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Poll(); });
  FWatchdog.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { GiveUp(); });
  FPoll.Start(20);
  FWatchdog.StartOnce(timeoutMs);
}

TModalDriver::~TModalDriver() {
  FPoll.Stop();
  FWatchdog.Stop();
  EXPECT_TRUE(FActs.empty()) << FActs.size() << " expected dialog(s) never shown";
}

void TModalDriver::Poll() {
  if (FGaveUp) {
    EndEveryModal();
    return;
  }
  wxDialog* innermost = InnermostModal();
  if (!innermost || innermost == FCurrent || FActs.empty()) return;
  FCurrent = innermost;
  TAct act = std::move(FActs.front());
  FActs.pop_front();
  wxTheApp->CallAfter([this, alive = std::weak_ptr<bool>(FAlive), act, innermost] {
    if (alive.expired()) return;
    if (InnermostModal() != innermost) {  // gone before its turn came: wait for the next one
      FActs.push_front(act);
      FCurrent = nullptr;
      return;
    }
    act(*innermost);
    // The next act may be for the same dialog shown again, or for a new one at the same address.
    if (!alive.expired() && FCurrent == innermost) FCurrent = nullptr;
  });
}

void TModalDriver::GiveUp() {
  if (InnermostModal() || !FActs.empty()) {
    ADD_FAILURE() << "dialogs still open or never shown when the time ran out";
  }
  FActs.clear();
  // A test that goes on after a failed act may show further dialogs: they end as they come.
  FGaveUp = true;
  EndEveryModal();
}

void TModalDriver::EndEveryModal() {
  for (wxDialog* dialog = InnermostModal(); dialog; dialog = InnermostModal()) {
    dialog->EndModal(wxID_CANCEL);
    dialog->Hide();
  }
}

void RunLoopUntil(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return;
  wxGUIEventLoop loop;
  wxEventLoopActivator active(&loop);
  wxTimer poll;
  wxTimer watchdog;
  poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (done()) loop.Exit();
  });
  watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    ADD_FAILURE() << "the awaited state never came";
    loop.Exit();
  });
  poll.Start(10);
  watchdog.StartOnce(timeoutMs);
  loop.Run();
}

std::vector<std::string> StaticTexts(wxWindow& window) {
  std::vector<std::string> texts;
  Collect(window, [&](wxWindow& child) {
    if (auto* text = dynamic_cast<wxStaticText*>(&child)) texts.push_back(FromWx(text->GetLabel()));
  });
  return texts;
}

std::vector<std::string> ButtonLabels(wxWindow& window) {
  std::vector<std::string> labels;
  Collect(window, [&](wxWindow& child) {
    if (auto* button = dynamic_cast<wxButton*>(&child)) {
      labels.push_back(FromWx(button->GetLabelText()));
    }
  });
  return labels;
}

wxButton* FindButton(wxWindow& window, const std::string& label) {
  wxButton* found = nullptr;
  Collect(window, [&](wxWindow& child) {
    auto* button = dynamic_cast<wxButton*>(&child);
    if (button && FromWx(button->GetLabelText()) == label) found = button;
  });
  return found;
}

void PressButton(wxWindow& window, const std::string& label) {
  wxButton* found = FindButton(window, label);
  ASSERT_NE(found, nullptr) << "no button \"" << label << "\"";
  wxCommandEvent click(wxEVT_BUTTON, found->GetId());
  click.SetEventObject(found);
  found->ProcessWindowEvent(click);
}

void ClickButton(wxWindow& window, const std::string& label) {
  wxButton* found = FindButton(window, label);
  ASSERT_NE(found, nullptr) << "no button \"" << label << "\"";
  // A click where the button no longer shows would land on whatever window is below it.
  ASSERT_TRUE(found->IsShownOnScreen()) << "the button \"" << label << "\" is not shown";
  wxUIActionSimulator mouse;
  mouse.MouseMove(
      found->ClientToScreen(wxPoint(found->GetClientSize().x / 2, found->GetClientSize().y / 2)));
  wxYield();
  mouse.MouseClick();
}

}  // namespace ui::wx::testing
