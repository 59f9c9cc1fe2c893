#pragma once

#include <string>

#include "ui/signal.h"

namespace ui {

// Anything a form holds by name. Changed tells the views that a property they show has changed.
class TComponent {
 public:
  explicit TComponent(std::string name = {}) : FName(std::move(name)) {}
  virtual ~TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return FName; }

  TSignal Changed;

 private:
  std::string FName;
};

}  // namespace ui
