// Zireziv: the stand-alone postcode window the host starts beside its address-entry window.

#include <iostream>
#include <memory>
#include <string>

#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/single_instance.h"
#include "postcode/zip_search_view.h"
#include "ui/instance_guard.h"
#include "ui/wx/application.h"
#include "ui/wx/wx_screen.h"
#include "zireziv/zip_window.h"

namespace {

// What lives while the window is open; the view goes first, then the form, then the lock.
struct TProgram {
  std::unique_ptr<platform::InstanceLock> Lock;
  std::unique_ptr<zireziv::TZipWindow> Window;
  std::unique_ptr<postcode::TZipSearchView> View;
};

}  // namespace

int main(int argc, char** argv) {
  // The raw bytes: the host may pass the token in code page 949.
  const std::string token = argc > 1 ? argv[1] : "";
  return ui::wx::RunApplication(argv, [&](ui::wx::WxScreen& screen) {
    auto program = std::make_shared<TProgram>();
    program->Lock = ui::CheckSingleInstance(
        screen, platform::FileNamePart(platform::ExecutablePath()), std::cerr);
    if (!program->Lock) return std::shared_ptr<void>();
    program->Window =
        std::make_unique<zireziv::TZipWindow>(screen, token, platform::ExecutableFolder());
    postcode::TFZipSearch& form = program->Window->FZipSearch;
    program->View = std::make_unique<postcode::TZipSearchView>(
        screen, form, postcode::TZipSearchView::TLayout::ZirezivWindow);
    program->View->Guarded([&] { form.FormCreate(); });
    program->View->Show();
    return std::shared_ptr<void>(program);
  });
}
