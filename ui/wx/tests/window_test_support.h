#pragma once

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/timer.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Helpers for the tests that put real windows on a (virtual) display, in this process.
namespace ui::wx::testing {

// Plays the user on modal dialogs: the next act runs on the innermost modal dialog once the
// previous act has finished or a dialog opened over the one it plays on (acts run after the poll
// returns, so an act may open further dialogs). A watchdog fails the
// test and ends every modal dialog when they are not all handled in time, and every one shown
// after that, so a dialog nobody closes cannot hang the run.
class TModalDriver {
 public:
  using TAct = std::function<void(wxDialog&)>;
  explicit TModalDriver(std::vector<TAct> acts, int timeoutMs = 5000);
  ~TModalDriver();
  bool AllPlayed() const { return FActs.empty(); }

 private:
  void Poll();
  void GiveUp();
  void EndEveryModal();

  std::deque<TAct> FActs;
  wxDialog* FCurrent = nullptr;  // the dialog the running act plays on
  bool FGaveUp = false;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  wxTimer FPoll;
  wxTimer FWatchdog;
};

// Runs an event loop until `done` holds; fails the test when it does not within the time.
void RunLoopUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// What a window shows, read from its children.
std::vector<std::string> StaticTexts(wxWindow& window);
std::vector<std::string> ButtonLabels(wxWindow& window);
// The button with this label; null when there is none.
wxButton* FindButton(wxWindow& window, const std::string& label);
// Clicks the button with this label as the toolkit would report the click.
void PressButton(wxWindow& window, const std::string& label);
// Clicks the button with this label with the (simulated) mouse, as a user does: whatever the
// click does to the keyboard focus happens too.
void ClickButton(wxWindow& window, const std::string& label);

}  // namespace ui::wx::testing
