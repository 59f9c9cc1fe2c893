#pragma once

#include <functional>
#include <memory>

namespace ui::wx {

class WxScreen;

// Builds a program's forms and views once the toolkit runs; what it answers (the models and
// views, in any holder) lives until the main loop ends and is then released, views first if the
// holder declares them last. It makes the main view first and shows it.
using TBuildProgram = std::function<std::shared_ptr<void>(WxScreen& screen)>;

// Starts the toolkit, builds the program, runs the main loop and answers the exit code: the one
// given to Terminate, else 0. When Terminate is called while building, the loop never runs.
// The toolkit sees none of the arguments; the program reads them from main's argv.
int RunApplication(char** argv, TBuildProgram build);

}  // namespace ui::wx
