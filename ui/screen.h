#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ui {

class TForm;
class TFileDialog;

// Modal results, as every dialog sets them.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

enum class TMsgIcon { None, Information, Warning, Error };
enum class TMsgButtons { Ok, OkCancel };

// Everything a form shows modally, and the application-wide services, go through this one
// interface: the wx implementation puts real windows up, the scripted one in ui/testing answers
// from a queue, so every flow of every form runs without a display.
class Screen {
 public:
  virtual ~Screen() = default;

  // A message box owned by `owner` (null: no owner). Answers mrOk or mrCancel.
  virtual int MessageBox(const TForm* owner, const std::string& text, const std::string& title,
                         TMsgButtons buttons, TMsgIcon icon) = 0;
  // The plain message window: the text, an OK button, no icon, the application's name as title.
  virtual void ShowMessage(const std::string& text) = 0;
  // The standard error box: error icon, the application's name as title, the error's text.
  virtual void ShowError(const std::string& text) = 0;
  // The system's open or save dialog; the chosen path as the user gave it, or nothing on cancel.
  // TFileDialog::Execute applies the default extension, so implementations need not.
  virtual std::optional<std::string> ChooseFile(const TFileDialog& dialog) = 0;
  // Shows the form modally and answers its modal result (mrCancel when closed by the frame).
  virtual int ShowModal(TForm& form) = 0;

  // The hourglass cursor; see TBusyCursor for the scoped form.
  virtual void SetBusy(bool busy) = 0;
  // Brings the application back from the minimised state (does nothing when it is not).
  virtual void RestoreApplication() = 0;
  // The application's minimise event: called after the application has minimised itself.
  virtual void SetOnMinimize(std::function<void()> handler) = 0;
  // From now on no window of the application has a taskbar button.
  virtual void RemoveTaskbarButton() = 0;
  // Ends the application as soon as the running handler returns; no further window is shown.
  virtual void Terminate(int exitCode) = 0;
};

// Hourglass for the life of the object; every way out of a scope restores the default cursor.
class TBusyCursor {
 public:
  explicit TBusyCursor(Screen& screen) : FScreen(screen) { FScreen.SetBusy(true); }
  ~TBusyCursor() { FScreen.SetBusy(false); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

 private:
  Screen& FScreen;
};

}  // namespace ui
