#pragma once

#include <wx/bitmap.h>

#include "ui/dbaware/db_navigator.h"

namespace ui::wx {

// The picture of a navigator button, drawn here so that all seven match: bars and triangles for
// the moves, a bar across for delete. The toolkit greys it for a disabled button.
wxBitmap NavigatorGlyph(TNavigateBtn button);

}  // namespace ui::wx
