#include "ui/wx/application.h"

#include <wx/app.h>

#include <exception>

#include "ui/wx/wx_screen.h"

namespace ui::wx {

namespace {

class TApplication : public wxApp {
 public:
  explicit TApplication(TBuildProgram build) : FBuild(std::move(build)) {}

  bool OnInit() override {
    // wxApp::OnInit is skipped on purpose: it would parse the programs' arguments as options.
    FScreen = std::make_unique<WxScreen>();
    try {
      FProgram = FBuild(*FScreen);
    } catch (const std::exception& e) {
      FScreen->ShowError(e.what());
      FScreen->Terminate(1);
    }
    return true;
  }

  int OnRun() override {
    if (!FScreen->Terminated()) wxApp::OnRun();
    return FScreen->ExitCode();
  }

  int OnExit() override {
    FProgram.reset();
    FScreen.reset();
    return wxApp::OnExit();
  }

 private:
  TBuildProgram FBuild;
  std::unique_ptr<WxScreen> FScreen;
  std::shared_ptr<void> FProgram;
};

}  // namespace

int RunApplication(char** argv, TBuildProgram build) {
  wxApp::SetInstance(new TApplication(std::move(build)));
  // The toolkit is given the program's name only: it would try to convert every argument to
  // Unicode and complain in a box about the launch token's code page 949 bytes.
  int toolkitArgc = 1;
  char* toolkitArgv[] = {argv[0], nullptr};
  return wxEntry(toolkitArgc, toolkitArgv);
}

}  // namespace ui::wx
