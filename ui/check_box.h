#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// A check box with its caption beside it.
class TCheckBox : public TControl {
 public:
  using TControl::TControl;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { Set(FCaption, caption); }
  bool Checked() const { return FChecked; }
  void SetChecked(bool checked) { Set(FChecked, checked); }

 private:
  std::string FCaption;
  bool FChecked = false;
};

}  // namespace ui
