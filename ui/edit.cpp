#include "ui/edit.h"

namespace ui {

void TEdit::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  Changed.Emit();
  if (OnChange) OnChange();
}

bool TEdit::KeyPress(char32_t key) {
  if (OnKeyPress) OnKeyPress(key);
  return key != 0;
}

}  // namespace ui
