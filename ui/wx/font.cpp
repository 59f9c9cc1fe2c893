#include "ui/wx/font.h"

#include <wx/fontenum.h>
#include <wx/settings.h>

namespace ui::wx {

const wxFont& FormFont() {
  static const wxFont font = [] {
    wxFont chosen = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    // The desktop's own face may lack Hangul and leave the fallback to mix faces within a word.
    for (const char* face : {"NanumGothic", "Noto Sans CJK KR"}) {
      if (wxFontEnumerator::IsValidFacename(face)) {
        chosen.SetFaceName(face);
        break;
      }
    }
    chosen.SetPointSize(8);
    return chosen;
  }();
  return font;
}

}  // namespace ui::wx
