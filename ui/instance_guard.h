#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "platform/single_instance.h"

namespace ui {

class Screen;

// The first thing either program does, before any window exists: one running copy per executable
// file name. Answers the lock to hold for the life of the process. When another copy holds it,
// shows "이미 실행중입니다." in the plain message window, ends the program with exit code 0 and
// answers null. When the lock cannot be made at all, the program goes on without it and says
// why on `errors`: the host knows no exit codes but 100 and 0.
std::unique_ptr<platform::InstanceLock> CheckSingleInstance(Screen& screen,
                                                            const std::string& executableFileName,
                                                            std::ostream& errors);

}  // namespace ui
