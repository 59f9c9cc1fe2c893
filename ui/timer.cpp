#include "ui/timer.h"

namespace ui {

void TTimer::SetInterval(int milliseconds) {
  FInterval = milliseconds;
  Changed.Emit();
}

void TTimer::SetEnabled(bool enabled) {
  FEnabled = enabled;
  Changed.Emit();
}

void TTimer::Timer() {
  if (Running() && OnTimer) OnTimer();
}

}  // namespace ui
