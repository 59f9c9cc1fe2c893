#pragma once

#include "ui/screen.h"

namespace bench {

// The Screen of a benchmark: no display, and nothing is expected to be shown. The application
// services answer as an unattended desktop would; anything that would put a window up (a message,
// an error, a dialog) means the measured flow went wrong, so it is written to stderr and the
// program aborts instead of timing a failure.
class TNullScreen : public ui::Screen {
 public:
  int MessageBox(const ui::TForm* owner, const std::string& text, const std::string& title,
                 ui::TMsgButtons buttons, ui::TMsgIcon icon) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  std::optional<std::string> ChooseFile(const ui::TFileDialog& dialog) override;
  int ShowModal(ui::TForm& form) override;

  void SetBusy(bool) override {}
  void RestoreApplication() override {}
  void SetOnMinimize(std::function<void()>) override {}
  void RemoveTaskbarButton() override {}
  void Terminate(int exitCode) override;
};

}  // namespace bench
