#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/screen.h"

class wxTopLevelWindow;
class wxWindow;

namespace ui::wx {

class TFormView;

// The Screen of the running programs: real dialogs on the desktop. Form views register here, the
// first one made being the main window, whose closing ends the program.
class WxScreen : public Screen {
 public:
  WxScreen();
  ~WxScreen() override;

  int MessageBox(const TForm* owner, const std::string& text, const std::string& title,
                 TMsgButtons buttons, TMsgIcon icon) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  std::optional<std::string> ChooseFile(const TFileDialog& dialog) override;
  int ShowModal(TForm& form) override;
  void SetBusy(bool busy) override;
  void RestoreApplication() override;
  void SetOnMinimize(std::function<void()> handler) override;
  void RemoveTaskbarButton() override;
  void Terminate(int exitCode) override;

  const std::string& ApplicationTitle() const { return FApplicationTitle; }
  bool Terminated() const { return FTerminated; }
  int ExitCode() const { return FExitCode; }

  // For the views.
  void AddView(TFormView& view);
  void RemoveView(TFormView& view);
  bool IsMainView(const TFormView& view) const;
  wxTopLevelWindow* MainWindow() const;  // null before the first view
  // The style a new top-level window gets, so that it follows RemoveTaskbarButton.
  long TopLevelStyle(long style) const;
  void ModalStarted(TFormView& view);
  void ModalEnded(TFormView& view);
  void MainViewClosed();
  void ApplicationMinimized();

 private:
  TFormView* ViewOf(const TForm& form) const;
  // The window a dialog without a named owner stands over: the innermost modal form, else the
  // main window while it is shown.
  wxWindow* DefaultParent() const;
  // Ends the innermost modal showing, or the main loop once none is left.
  void EndOneLevel();

  std::string FApplicationTitle;
  std::vector<TFormView*> FViews;
  std::vector<TFormView*> FModal;
  std::function<void()> FOnMinimize;
  bool FNoTaskbar = false;
  bool FTerminated = false;
  int FExitCode = 0;
  int FBusyDepth = 0;
};

}  // namespace ui::wx
