#pragma once

#include <memory>
#include <string>

#include "platform/single_instance.h"

namespace ui {
class Screen;
}

namespace zireziv {

// The first thing Zireziv does, before any window exists: one running copy per executable file
// name. Answers the lock to hold for the life of the process; when another copy holds it, shows
// "이미 실행중입니다." in the plain message window, ends the program with exit code 0 and
// answers null.
std::unique_ptr<platform::InstanceLock> CheckSingleInstance(ui::Screen& screen,
                                                            const std::string& executableFileName);

}  // namespace zireziv
