#include "ui/form.h"

#include "ui/control.h"

namespace ui {

void TForm::SetCaption(const std::string& caption) {
  FCaption = caption;
  Changed.Emit();
}

void TForm::SetModalResult(int result) {
  FModalResult = result;
  Changed.Emit();
}

void TForm::SetActiveControl(TControl* control) {
  if (control == FActiveControl) return;
  TControl* left = FActiveControl;
  FActiveControl = control;
  if (left) left->DoExit();
  Changed.Emit();
}

bool TForm::KeyDown(TKey key, TShiftState shift) {
  if (KeyPreview && OnKeyDown) OnKeyDown(key, shift);
  return key != 0;
}

}  // namespace ui
