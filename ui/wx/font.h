#pragma once

#include <wx/font.h>

namespace ui::wx {

// The font of every window: a sans face that has Hangul, at 8 points, the size the forms were
// laid out for.
const wxFont& FormFont();

}  // namespace ui::wx
