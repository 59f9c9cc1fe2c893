#pragma once

#include <wx/event.h>

#include "ui/keys.h"

namespace ui::wx {

// The model's key code for a wx key code (both keypad Enters are Enter); 0 for keys no handler
// knows.
TKey ToKey(int wxKeyCode);
TShiftState ToShiftState(const wxKeyEvent& event);

}  // namespace ui::wx
