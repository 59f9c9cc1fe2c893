#pragma once

#include <wx/bitmap.h>

#include "ui/button.h"

namespace ui::wx {

// The 16-pixel picture for a button glyph; an invalid bitmap for TGlyph::None.
wxBitmap GlyphBitmap(TGlyph glyph);

}  // namespace ui::wx
