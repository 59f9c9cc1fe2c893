#include "ui/wx/spin_edit_view.h"

#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

#include "ui/wx/convert.h"

namespace ui::wx {

namespace {

constexpr int kArrowsWidth = 15;
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 100;

}  // namespace

// The two arrows, drawn as small push buttons: the upper half steps up, the lower half down.
class TSpinEditView::TArrows : public wxWindow {
 public:
  TArrows(TSpinEditView* owner, const wxRect& rect)
      : wxWindow(owner, wxID_ANY, rect.GetPosition(), rect.GetSize()), FOwner(owner) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &TArrows::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &TArrows::OnDown, this);
    Bind(wxEVT_LEFT_DCLICK, &TArrows::OnDown, this);
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { Release(); });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { Release(); });
    FRepeat.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      FRepeat.Start(kRepeatMs);
      FOwner->Step(FPressed);
    });
  }
  bool AcceptsFocus() const override { return false; }

 private:
  void OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    wxSize size = GetClientSize();
    int half = size.y / 2;
    wxRect rects[] = {wxRect(0, 0, size.x, half), wxRect(0, half, size.x, size.y - half)};
    for (int i = 0; i < 2; ++i) {
      int flags = IsEnabled() ? 0 : int{wxCONTROL_DISABLED};
      if (FPressed == (i == 0 ? 1 : -1)) flags |= int{wxCONTROL_PRESSED};
      wxRendererNative::Get().DrawPushButton(this, dc, rects[i], flags);
      wxPoint c(rects[i].x + rects[i].width / 2, rects[i].y + rects[i].height / 2);
      int dir = i == 0 ? -1 : 1;
      wxPoint arrow[] = {wxPoint(c.x - 3, c.y - dir), wxPoint(c.x + 3, c.y - dir),
                         wxPoint(c.x, c.y + 2 * dir)};
      dc.SetPen(*wxTRANSPARENT_PEN);
      dc.SetBrush(wxBrush(
          wxSystemSettings::GetColour(IsEnabled() ? wxSYS_COLOUR_BTNTEXT : wxSYS_COLOUR_GRAYTEXT)));
      dc.DrawPolygon(3, arrow);
    }
  }

  void OnDown(wxMouseEvent& event) {
    FPressed = event.GetY() < GetClientSize().y / 2 ? 1 : -1;
    if (!HasCapture()) CaptureMouse();
    Refresh();
    FRepeat.StartOnce(kFirstRepeatMs);
    FOwner->Step(FPressed);
  }

  void Release() {
    FRepeat.Stop();
    FPressed = 0;
    if (HasCapture()) ReleaseMouse();
    Refresh();
  }

  TSpinEditView* FOwner;
  wxTimer FRepeat;
  int FPressed = 0;  // 1 up, -1 down, 0 none
};

TSpinEditView::TSpinEditView(TFormView& form, wxWindow* parent, TSpinEdit& model,
                             const wxRect& rect)
    : wxPanel(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), wxTAB_TRAVERSAL),
      FModel(model),
      FText(new wxTextCtrl(this, wxID_ANY, ToWx(model.Text()), wxPoint(0, 0),
                           wxSize(rect.width - kArrowsWidth, rect.height))),
      FArrows(new TArrows(this, wxRect(rect.width - kArrowsWidth, 0, kArrowsWidth, rect.height))),
      FBinding(form, model, *this, [this] { Refresh(); }) {
  FText->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    FBinding.Guarded([this] { FModel.SetText(FromWx(FText->GetValue())); });
  });
  FText->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_UP) {
      Step(1);
    } else if (event.GetKeyCode() == WXK_DOWN) {
      Step(-1);
    } else {
      event.Skip();
    }
  });
  FBinding.Refresh();
}

void TSpinEditView::Refresh() {
  wxString text = ToWx(FModel.Text());
  if (FText->GetValue() != text) FText->ChangeValue(text);
  FArrows->Enable(FModel.Enabled());
  FArrows->Refresh();
}

void TSpinEditView::Step(int direction) {
  FBinding.Guarded([&] { direction > 0 ? FModel.StepUp() : FModel.StepDown(); });
}

}  // namespace ui::wx
