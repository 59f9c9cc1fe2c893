#include "ui/wx/keys.h"

#include <wx/defs.h>

namespace ui::wx {

TKey ToKey(int code) {
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return code;
  if (code >= 'a' && code <= 'z') return code - 'a' + 'A';
  if (code >= WXK_F1 && code <= WXK_F12) return VK_F1 + (code - WXK_F1);
  switch (code) {
    case WXK_BACK:
      return VK_BACK;
    case WXK_TAB:
      return VK_TAB;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      return VK_RETURN;
    case WXK_ESCAPE:
      return VK_ESCAPE;
    case WXK_SPACE:
      return VK_SPACE;
    case WXK_PAGEUP:
      return VK_PRIOR;
    case WXK_PAGEDOWN:
      return VK_NEXT;
    case WXK_END:
      return VK_END;
    case WXK_HOME:
      return VK_HOME;
    case WXK_LEFT:
      return VK_LEFT;
    case WXK_UP:
      return VK_UP;
    case WXK_RIGHT:
      return VK_RIGHT;
    case WXK_DOWN:
      return VK_DOWN;
    case WXK_INSERT:
      return VK_INSERT;
    case WXK_DELETE:
      return VK_DELETE;
    default:
      return 0;
  }
}

TShiftState ToShiftState(const wxKeyEvent& event) {
  TShiftState shift = 0;
  if (event.ShiftDown()) shift |= ssShift;
  if (event.AltDown()) shift |= ssAlt;
  if (event.RawControlDown()) shift |= ssCtrl;
  return shift;
}

}  // namespace ui::wx
