#include "ui/wx/dbaware/navigator_glyphs.h"

#include <wx/dcmemory.h>

namespace ui::wx {

namespace {

constexpr int kSize = 13;
const wxColour kMaskColour(255, 0, 255);

// A triangle 4 pixels wide with its point at x, pointing left or right.
void Triangle(wxDC& dc, int x, bool left) {
  const int back = left ? x + 4 : x - 4;
  const wxPoint points[] = {{x, kSize / 2}, {back, kSize / 2 - 4}, {back, kSize / 2 + 4}};
  dc.DrawPolygon(3, points);
}

void Bar(wxDC& dc, int x) {
  dc.DrawRectangle(x, kSize / 2 - 4, 2, 9);
}

}  // namespace

wxBitmap NavigatorGlyph(TNavigateBtn button) {
  wxBitmap bitmap(kSize, kSize);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(kMaskColour));
    dc.Clear();
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxBLACK_BRUSH);
    switch (button) {
      case TNavigateBtn::nbFirst:
        Bar(dc, 2);
        Triangle(dc, 5, true);
        break;
      case TNavigateBtn::nbPriorPage:
        Triangle(dc, 2, true);
        Triangle(dc, 7, true);
        break;
      case TNavigateBtn::nbPrior:
        Triangle(dc, 4, true);
        break;
      case TNavigateBtn::nbNext:
        Triangle(dc, 8, false);
        break;
      case TNavigateBtn::nbNextPage:
        Triangle(dc, 5, false);
        Triangle(dc, 10, false);
        break;
      case TNavigateBtn::nbLast:
        Triangle(dc, 7, false);
        Bar(dc, 9);
        break;
      case TNavigateBtn::nbDelete:
        dc.DrawRectangle(2, kSize / 2 - 1, kSize - 4, 3);
        break;
    }
  }
  bitmap.SetMask(new wxMask(bitmap, kMaskColour));
  return bitmap;
}

}  // namespace ui::wx
