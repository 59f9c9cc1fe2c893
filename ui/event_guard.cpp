#include "ui/event_guard.h"

#include <exception>

#include "ui/screen.h"

namespace ui {

void RunGuarded(Screen& screen, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    screen.ShowError(e.what());
  } catch (...) {
    screen.ShowError("Unknown error");
  }
}

}  // namespace ui
