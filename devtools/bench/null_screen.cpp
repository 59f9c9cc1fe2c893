#include "devtools/bench/null_screen.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/file_dialog.h"
#include "ui/form.h"

namespace bench {

namespace {

[[noreturn]] void Shown(const std::string& what) {
  std::fprintf(stderr, "benchmark aborted: the flow showed %s\n", what.c_str());
  std::abort();
}

}  // namespace

int TNullScreen::MessageBox(const ui::TForm*, const std::string& text, const std::string& title,
                            ui::TMsgButtons, ui::TMsgIcon) {
  Shown("a message box \"" + title + "\": " + text);
}

void TNullScreen::ShowMessage(const std::string& text) {
  Shown("the message \"" + text + "\"");
}

void TNullScreen::ShowError(const std::string& text) {
  Shown("the error \"" + text + "\"");
}

std::optional<std::string> TNullScreen::ChooseFile(const ui::TFileDialog& dialog) {
  Shown("a file dialog \"" + dialog.Title + "\"");
}

int TNullScreen::ShowModal(ui::TForm& form) {
  Shown("the form " + form.Caption() + " modally");
}

void TNullScreen::Terminate(int exitCode) {
  Shown("the end of the program with exit code " + std::to_string(exitCode));
}

}  // namespace bench
