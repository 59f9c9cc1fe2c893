// zarize-autopilot: plays the user of the reference run (scripts/run) when there is no one at the
// display.
#include <iostream>
#include <string>
#include <vector>

#include "devtools/desktop-test/autopilot.h"
#include "platform/errors.h"
#include "platform/numbers.h"

namespace {

constexpr const char* kUsage =
    "usage: zarize-autopilot COMMAND ARGUMENTS...\n"
    "  press-design PID PNG   wait for Zeravu (PID), save a picture, click 라벨 디자인\n"
    "  pick PID PLACE PNG     wait for Zireziv (PID), search PLACE, pick twice, close it\n";

pid_t ProcessId(const std::string& text) {
  int pid = 0;
  if (!platform::TryStrToInt(text, pid) || pid <= 0) {
    throw platform::Exception("'" + text + "' is not a process id");
  }
  return pid;
}

// The exit code: 0 done, 1 failed, 2 the command line is wrong.
int Run(const std::vector<std::string>& a) {
  std::string error;
  if (a.size() == 3 && a[0] == "press-design") {
    error = desktoptest::PressLabelDesign(ProcessId(a[1]), a[2]);
  } else if (a.size() == 4 && a[0] == "pick") {
    error = desktoptest::PickTwice(ProcessId(a[1]), a[2], a[3]);
  } else {
    std::cerr << kUsage;
    return 2;
  }
  if (error.empty()) return 0;
  std::cerr << "zarize-autopilot: " << error << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const platform::Exception& e) {
    std::cerr << "zarize-autopilot: " << e.what() << '\n';
    return 1;
  }
}
