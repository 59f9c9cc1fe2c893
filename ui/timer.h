#pragma once

#include <functional>

#include "ui/component.h"

namespace ui {

// A window-message timer: while enabled with a positive interval, the view calls Timer() every
// Interval milliseconds on the user-interface thread. Changing either property starts the
// count anew.
class TTimer : public TComponent {
 public:
  using TComponent::TComponent;

  int Interval() const { return FInterval; }
  void SetInterval(int milliseconds);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  // Whether the view should be counting now.
  bool Running() const { return FEnabled && FInterval > 0; }

  std::function<void()> OnTimer;

  // One tick. A tick that was already queued when the timer was stopped does nothing.
  void Timer();

 private:
  int FInterval = 1000;
  bool FEnabled = true;
};

}  // namespace ui
