#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

// A one-line edit box.
class TEdit : public TControl {
 public:
  using TControl::TControl;

  const std::string& Text() const { return FText; }
  // Typed by the user or set by a handler; either way OnChange runs when the text changed.
  void SetText(const std::string& text);

  // A character typed into the box (13 for Enter); setting it to 0 swallows it, so the box
  // never sees it.
  std::function<void(char32_t& key)> OnKeyPress;
  std::function<void()> OnChange;

  // Runs OnKeyPress; true when the character is to reach the box.
  bool KeyPress(char32_t key);

 private:
  std::string FText;
};

}  // namespace ui
