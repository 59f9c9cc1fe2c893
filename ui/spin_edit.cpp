#include "ui/spin_edit.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace ui {

namespace {

// Decimal digits with an optional sign, blanks around them allowed; anything else is no number.
bool ParseInt(const std::string& text, int& value) {
  std::string::size_type first = text.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  std::string::size_type last = text.find_last_not_of(' ');
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  if (*begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace

int TSpinEdit::Value() const {
  int value = 0;
  return ParseInt(FText, value) ? value : FMinValue;
}

int TSpinEdit::InRange(long long value) const {
  if (FMinValue == FMaxValue) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
  }
  return static_cast<int>(std::clamp<long long>(value, FMinValue, FMaxValue));
}

void TSpinEdit::SetValue(int value) {
  ChangeText(std::to_string(InRange(value)));
}

void TSpinEdit::SetText(const std::string& text) {
  ChangeText(text);
}

void TSpinEdit::DoExit() {
  SetValue(Value());
}

void TSpinEdit::ChangeText(std::string text) {
  if (text == FText) return;
  int before = Value();
  FText = std::move(text);
  Changed.Emit();
  if (Value() != before && OnChange) OnChange();
}

}  // namespace ui
