// Zeravu: the host starts it with the launch token, a mode and a database path.
#include <iostream>
#include <memory>

#include "addressbook/data_module.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/single_instance.h"
#include "postcode/zip_search.h"
#include "postcode/zip_search_view.h"
#include "ui/instance_guard.h"
#include "ui/wx/application.h"
#include "ui/wx/wx_screen.h"
#include "zeravu/entry_form.h"
#include "zeravu/entry_form_view.h"
#include "zeravu/environment.h"
#include "zeravu/main_form.h"
#include "zeravu/main_form_view.h"

namespace {

// Every form and the data module live from start-up to the end of the program; views are
// declared last so they go first.
struct TZeravu {
  TZeravu(ui::wx::WxScreen& screen, zeravu::TEnvironment environment)
      : FZipSearch(screen, environment.ExecutableFolder),
        FAddrInfoIn(screen, FZipSearch),
        FMain(screen, dm, FAddrInfoIn, std::move(environment)) {}

  addressbook::Tdm dm;
  postcode::TFZipSearch FZipSearch;
  zeravu::TFAddrInfoIn FAddrInfoIn;
  zeravu::TFMain FMain;
  std::unique_ptr<zeravu::TFMainView> mainView;
  std::unique_ptr<postcode::TZipSearchView> zipSearchView;
  std::unique_ptr<zeravu::TFAddrInfoInView> entryView;
  std::unique_ptr<platform::InstanceLock> instance;
};

}  // namespace

int main(int argc, char** argv) {
  zeravu::TEnvironment environment = zeravu::TEnvironment::FromProcess(argc, argv);

  return ui::wx::RunApplication(argv, [&](ui::wx::WxScreen& screen) -> std::shared_ptr<void> {
    // The guard comes before any window: a second copy never makes one of its own.
    auto instance = ui::CheckSingleInstance(
        screen, platform::FileNamePart(platform::ExecutablePath()), std::cerr);
    if (!instance) return nullptr;
    auto program = std::make_shared<TZeravu>(screen, std::move(environment));
    program->instance = std::move(instance);
    program->mainView = std::make_unique<zeravu::TFMainView>(screen, program->FMain);
    program->FMain.FormCreate();
    if (screen.Terminated()) return program;
    program->mainView->Show();
    program->zipSearchView = std::make_unique<postcode::TZipSearchView>(
        screen, program->FZipSearch, postcode::TZipSearchView::TLayout::ZeravuDialog);
    program->FZipSearch.FormCreate();
    program->entryView = std::make_unique<zeravu::TFAddrInfoInView>(screen, program->FAddrInfoIn);
    return program;
  });
}
