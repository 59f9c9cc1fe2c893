#include "zireziv/instance_guard.h"

#include "ui/screen.h"

namespace zireziv {

std::unique_ptr<platform::InstanceLock> CheckSingleInstance(ui::Screen& screen,
                                                            const std::string& executableFileName) {
  std::unique_ptr<platform::InstanceLock> lock =
      platform::InstanceLock::TryAcquire(executableFileName);
  if (!lock) {
    screen.ShowMessage("이미 실행중입니다.");
    screen.Terminate(0);
  }
  return lock;
}

}  // namespace zireziv
