#pragma once

#include <functional>

namespace ui {

class Screen;

// Every event a view forwards to a handler runs through here: an error that escapes the handler
// ends that action in the standard error box, and the program goes on.
void RunGuarded(Screen& screen, const std::function<void()>& handler);

}  // namespace ui
