#include "devtools/desktop-test/window_manager.h"

#include <filesystem>

namespace desktoptest {

TWindowManager::TWindowManager(const std::string& readyFile) {
  // The start-up command runs once openbox has taken the display over.
  FProcess = std::make_unique<TChild>(
      "/usr/bin/openbox",
      std::vector<std::string>{"--sm-disable", "--startup", "touch '" + readyFile + "'"});
  FStarted =
      WaitUntil([&] { return std::filesystem::exists(readyFile) || !FProcess->Running(); }) &&
      FProcess->Running();
}

}  // namespace desktoptest
