#pragma once

#include <string>

#include "ui/component.h"

namespace ui {

// A component the user sees and may work with.
class TControl : public TComponent {
 public:
  using TComponent::TComponent;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled) { Set(FEnabled, enabled); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible) { Set(FVisible, visible); }
  // Shown when the mouse rests on the control.
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { Set(FHint, hint); }

  // The keyboard focus has left the control for another one of its form.
  virtual void DoExit() {}

 protected:
  // Stores a property and tells the views, but only when it really changed.
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed.Emit();
  }

 private:
  bool FEnabled = true;
  bool FVisible = true;
  std::string FHint;
};

}  // namespace ui
