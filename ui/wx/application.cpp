#include "ui/wx/application.h"

#include <wx/app.h>
#include <wx/log.h>

#include <cstdio>
#include <exception>

#include "ui/wx/wx_screen.h"

namespace ui::wx {

namespace {

// A toolkit assertion is a note for the developer, not a question for the user: the toolkit's own
// assertion dialog would stop the program (and can itself fail to appear), so it goes to stderr.
void ReportAssertion(const wxString& file, int line, const wxString& function,
                     const wxString& condition, const wxString& message) {
  std::fprintf(stderr, "%s:%d: %s: assertion \"%s\" failed: %s\n", file.utf8_str().data(), line,
               function.utf8_str().data(), condition.utf8_str().data(), message.utf8_str().data());
}

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
  wxSetAssertHandler(ReportAssertion);
  // The toolkit's own log messages go to stderr too: shown as a box they would appear out of
  // turn, even before the toolkit is ready to show one.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxApp::SetInstance(new TApplication(std::move(build)));
  // The toolkit is given the program's name only: it would try to convert every argument to
  // Unicode and complain in a box about the launch token's code page 949 bytes.
  int toolkitArgc = 1;
  char* toolkitArgv[] = {argv[0], nullptr};
  return wxEntry(toolkitArgc, toolkitArgv);
}

}  // namespace ui::wx
