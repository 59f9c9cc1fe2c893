#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/file_dialog.h"
#include "ui/screen.h"

namespace ui::testing {

// A Screen for tests. Each dialog a form puts up must have been expected, in order; an
// unexpected one, or one that differs from what was expected, fails the running test. Every
// dialog is also recorded, so a test can look at what was shown afterwards.
class ScriptedScreen : public Screen {
 public:
  enum class TKind { MessageBox, PlainMessage, Error, FileDialog, Modal };

  struct TShown {
    TKind Kind;
    std::string Text;   // message text; file dialog title; modal form's caption
    std::string Title;  // message box title
    TMsgButtons Buttons = TMsgButtons::Ok;
    TMsgIcon Icon = TMsgIcon::None;
    const TForm* Owner = nullptr;
    std::optional<TFileDialog> Dialog;  // the file dialog as it was shown
  };

  using TModalScript = std::function<int(TForm&)>;
  using TFileAnswer = std::function<std::optional<std::string>(const TFileDialog&)>;

  ScriptedScreen() = default;
  ~ScriptedScreen() override;

  // A message box with exactly these texts, buttons and icon; it answers `answer`.
  ScriptedScreen& ExpectMessageBox(const std::string& text, const std::string& title,
                                   TMsgButtons buttons, TMsgIcon icon, int answer = mrOk);
  ScriptedScreen& ExpectPlainMessage(const std::string& text);
  ScriptedScreen& ExpectError(const std::string& text);
  // The standard error box with a text that contains `part` (for the engine's own wording);
  // `part` must not be empty.
  ScriptedScreen& ExpectErrorContaining(const std::string& part);
  // A file dialog with this title (empty: the system's default); answers the path, or cancels.
  ScriptedScreen& ExpectFileDialog(const std::string& title, std::optional<std::string> answer);
  ScriptedScreen& ExpectFileDialog(const std::string& title, TFileAnswer answer);
  // A modal showing of the form with this caption; the form's OnShow runs, then the script
  // plays the user (sets boxes, calls handlers) and answers the modal result, then OnClose runs.
  ScriptedScreen& ExpectModal(const std::string& caption, TModalScript script);

  // Fails the test for every expectation not yet met, and forgets them.
  void VerifyAllMet();
  bool AllMet() const { return FExpected.empty(); }

  const std::vector<TShown>& Shown() const { return FShown; }
  int BusyDepth() const { return FBusyDepth; }
  int BusyCount() const { return FBusyCount; }
  int RestoreCount() const { return FRestoreCount; }
  bool TaskbarButtonRemoved() const { return FTaskbarRemoved; }
  std::optional<int> TerminatedWith() const { return FExitCode; }

  // Screen
  int MessageBox(const TForm* owner, const std::string& text, const std::string& title,
                 TMsgButtons buttons, TMsgIcon icon) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  std::optional<std::string> ChooseFile(const TFileDialog& dialog) override;
  int ShowModal(TForm& form) override;
  void SetBusy(bool busy) override;
  void RestoreApplication() override { ++FRestoreCount; }
  void SetOnMinimize(std::function<void()> handler) override { FOnMinimize = std::move(handler); }
  void RemoveTaskbarButton() override { FTaskbarRemoved = true; }

  // Plays the user minimising the application.
  void Minimize() {
    if (FOnMinimize) FOnMinimize();
  }
  void Terminate(int exitCode) override { FExitCode = exitCode; }

 private:
  struct TExpected {
    TShown Want;
    bool TextIsPart = false;
    int Answer = mrOk;
    TFileAnswer FileAnswer;
    TModalScript ModalScript;
  };

  // The next expectation if it is of this kind; fails the test and answers nothing otherwise.
  std::optional<TExpected> Take(const TShown& shown);
  static std::string Describe(const TShown& shown);

  std::deque<TExpected> FExpected;
  std::vector<TShown> FShown;
  int FBusyDepth = 0;
  int FBusyCount = 0;
  int FRestoreCount = 0;
  bool FTaskbarRemoved = false;
  std::optional<int> FExitCode;
  std::function<void()> FOnMinimize;
};

}  // namespace ui::testing
