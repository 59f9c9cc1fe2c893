#pragma once

#include <ostream>
#include <string>
#include <utility>

#include "ui/screen.h"

namespace zarizedb {

// The Screen of a program without windows: the data module's messages become lines on a stream
// (standard error), and no dialog is ever answered.
class TMessageScreen : public ui::Screen {
 public:
  TMessageScreen(std::ostream& out, std::string programName)
      : FOut(out), FProgramName(std::move(programName)) {}

  // Nobody is there to confirm a question, so it is answered with Cancel.
  int MessageBox(const ui::TForm*, const std::string& text, const std::string&,
                 ui::TMsgButtons buttons, ui::TMsgIcon) override {
    Print(text);
    return buttons == ui::TMsgButtons::Ok ? ui::mrOk : ui::mrCancel;
  }
  void ShowMessage(const std::string& text) override { Print(text); }
  void ShowError(const std::string& text) override { Print(text); }
  std::optional<std::string> ChooseFile(const ui::TFileDialog&) override { return std::nullopt; }
  int ShowModal(ui::TForm&) override { return ui::mrCancel; }
  void SetBusy(bool) override {}
  void RestoreApplication() override {}
  void SetOnMinimize(std::function<void()>) override {}
  void RemoveTaskbarButton() override {}
  void Terminate(int) override {}

 private:
  void Print(const std::string& text) { FOut << FProgramName << ": " << text << '\n'; }

  std::ostream& FOut;
  std::string FProgramName;
};

}  // namespace zarizedb
