#include "ui/instance_guard.h"

#include "ui/screen.h"

namespace ui {

std::unique_ptr<platform::InstanceLock> CheckSingleInstance(Screen& screen,
                                                            const std::string& executableFileName,
                                                            std::ostream& errors) {
  auto lock = std::make_unique<platform::InstanceLock>(executableFileName);
  if (lock->HeldByAnotherCopy()) {
    screen.ShowMessage("이미 실행중입니다.");
    screen.Terminate(0);
    return nullptr;
  }
  if (!lock->Problem().empty()) {
    errors << executableFileName << ": going on without the single-instance guard ("
           << lock->Problem() << ")\n";
  }
  return lock;
}

}  // namespace ui
