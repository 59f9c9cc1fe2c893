#include "ui/wx/dbaware/db_navigator_view.h"

#include "ui/wx/convert.h"
#include "ui/wx/dbaware/navigator_glyphs.h"

namespace ui::wx {

TwwDBNavigatorView::TwwDBNavigatorView(TFormView& form, wxWindow* parent, TwwDBNavigator& model,
                                       const wxPoint& pos)
    : wxPanel(parent, wxID_ANY, pos,
              wxSize(kButtonSize * static_cast<int>(kNavigateButtons.size()), kButtonSize)),
      FModel(model),
      FBinding(form, model, *this, [this] { Refresh(); }) {
  int x = 0;
  for (TNavigateBtn button : kNavigateButtons) {
    auto* widget = new wxBitmapButton(this, wxID_ANY, NavigatorGlyph(button), wxPoint(x, 0),
                                      wxSize(kButtonSize, kButtonSize), wxBU_EXACTFIT);
    FButtons[static_cast<std::size_t>(button)] = widget;
    x += kButtonSize;
    widget->Bind(wxEVT_BUTTON, [this, button](wxCommandEvent&) {
      if (TwwDBNavigator::Repeats(button) && FPressedByMouse) return;
      Act(button);
    });
    if (!TwwDBNavigator::Repeats(button)) continue;
    widget->Bind(wxEVT_LEFT_DOWN, [this, button](wxMouseEvent& event) {
      event.Skip();
      Press(button);
    });
    widget->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) {
      event.Skip();
      Release();
    });
    widget->Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& event) {
      event.Skip();
      FRepeat.Stop();
    });
    widget->Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { Release(); });
  }
  FRepeat.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnRepeat(); });
  FBinding.Refresh();
}

TwwDBNavigatorView::~TwwDBNavigatorView() {
  FRepeat.Stop();
}

void TwwDBNavigatorView::Refresh() {
  SetBackgroundColour(FModel.Color() ? ToWx(*FModel.Color()) : wxNullColour);
  for (TNavigateBtn button : kNavigateButtons) Button(button)->Enable(FModel.ButtonEnabled(button));
  if (FHeld && !FModel.ButtonEnabled(*FHeld)) FRepeat.Stop();
}

void TwwDBNavigatorView::Act(TNavigateBtn button) {
  if (FBinding.Guarded([&] { FModel.BtnClick(button); })) return;
  // After an error the button stays quiet until it is pressed again.
  FRepeat.Stop();
  FHeld.reset();
}

void TwwDBNavigatorView::Press(TNavigateBtn button) {
  if (!FModel.ButtonEnabled(button)) return;
  FPressedByMouse = true;
  FHeld = button;
  // The focus comes here first, so a cell editor still open in a grid hands its text to the
  // record before the move stores it; the move waits for the editor to close.
  Button(button)->SetFocus();
  CallAfter([this, button] {
    Act(button);
    if (FHeld == button) FRepeat.StartOnce(TwwDBNavigator::kRepeatDelayMs);
  });
}

void TwwDBNavigatorView::Release() {
  FRepeat.Stop();
  FHeld.reset();
  // The toolkit's click for this press comes after the release; it is already done.
  CallAfter([this] { FPressedByMouse = false; });
}

void TwwDBNavigatorView::OnRepeat() {
  if (!FHeld || !FModel.ButtonEnabled(*FHeld)) return;
  Act(*FHeld);
  if (FHeld && !FRepeat.IsRunning()) FRepeat.Start(TwwDBNavigator::kRepeatIntervalMs);
}

}  // namespace ui::wx
