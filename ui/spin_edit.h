#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

// An integer box with up and down arrows. The user may type any text: it counts as its number,
// or as MinValue when it is not one, and a number outside MinValue..MaxValue stands until the
// box loses the focus, which brings it into range. Equal bounds mean no range at all.
class TSpinEdit : public TControl {
 public:
  using TControl::TControl;

  int MinValue() const { return FMinValue; }
  void SetMinValue(int value) { FMinValue = value; }
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int value) { FMaxValue = value; }
  int Increment() const { return FIncrement; }
  void SetIncrement(int value) { FIncrement = value; }

  int Value() const;
  // Brought into range; the text becomes the number.
  void SetValue(int value);
  const std::string& Text() const { return FText; }
  // Typed text, kept as it is.
  void SetText(const std::string& text);

  // The arrows: one Increment up or down, within range.
  void StepUp() { Step(FIncrement); }
  void StepDown() { Step(-static_cast<long long>(FIncrement)); }

  // Runs on every change of Value, whether typed, stepped or set.
  std::function<void()> OnChange;

  // Leaving the box brings the value into range and shows it as a number.
  void DoExit() override;

 private:
  int InRange(long long value) const;
  void Step(long long by) { SetValue(InRange(Value() + by)); }
  void ChangeText(std::string text);

  int FMinValue = 0;
  int FMaxValue = 0;
  int FIncrement = 1;
  std::string FText = "0";
};

}  // namespace ui
