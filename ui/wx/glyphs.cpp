#include "ui/wx/glyphs.h"

#include <wx/artprov.h>

namespace ui::wx {

namespace {

wxArtID ArtFor(TGlyph glyph) {
  switch (glyph) {
    case TGlyph::None:
      break;
    case TGlyph::New:
      return wxART_NEW;
    case TGlyph::Open:
      return wxART_FILE_OPEN;
    case TGlyph::Save:
      return wxART_FILE_SAVE;
    case TGlyph::SaveAs:
      return wxART_FILE_SAVE_AS;
    case TGlyph::Add:
      return wxART_PLUS;
    case TGlyph::Edit:
      return wxART_EDIT;
    case TGlyph::Print:
      return wxART_PRINT;
    case TGlyph::Find:
      return wxART_FIND;
    case TGlyph::List:
      return wxART_REPORT_VIEW;
    case TGlyph::Ok:
      return wxART_TICK_MARK;
    case TGlyph::Cancel:
      return wxART_CROSS_MARK;
    case TGlyph::Undo:
      return wxART_UNDO;
  }
  return {};
}

}  // namespace

wxBitmap GlyphBitmap(TGlyph glyph) {
  wxArtID art = ArtFor(glyph);
  if (art.empty()) return wxNullBitmap;
  return wxArtProvider::GetBitmap(art, wxART_BUTTON, wxSize(16, 16));
}

}  // namespace ui::wx
