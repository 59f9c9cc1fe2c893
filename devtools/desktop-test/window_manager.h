#pragma once

#include <memory>
#include <string>

#include "devtools/desktop-test/desktop_driver.h"

namespace desktoptest {

// A window manager (openbox) on the display for the life of the object. Minimising a window and
// closing it by its frame are the window manager's doing: on a bare display neither happens.
class TWindowManager {
 public:
  // Starts it and waits until it manages the display; `readyFile` is a path it may create to
  // say so. Started() tells whether it came up.
  explicit TWindowManager(const std::string& readyFile);
  bool Started() const { return FStarted; }

 private:
  std::unique_ptr<TChild> FProcess;
  bool FStarted = false;
};

}  // namespace desktoptest
