#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// A caption on a form.
class TLabel : public TControl {
 public:
  using TControl::TControl;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { Set(FCaption, caption); }

 private:
  std::string FCaption;
};

}  // namespace ui
