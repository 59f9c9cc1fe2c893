#pragma once

#include <wx/bmpbuttn.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include <array>
#include <optional>

#include "ui/dbaware/db_navigator.h"
#include "ui/wx/control_binding.h"

namespace ui::wx {

class TFormView;

// The navigator: seven 25 x 25 picture buttons side by side, enabled as the model says. A
// movement button acts when the mouse goes down on it and, held down, again after the model's
// delay and then at its interval; delete acts on a full click, as it asks first. The model must
// outlive the view.
class TwwDBNavigatorView : public wxPanel {
 public:
  static constexpr int kButtonSize = 25;

  TwwDBNavigatorView(TFormView& form, wxWindow* parent, TwwDBNavigator& model, const wxPoint& pos);
  ~TwwDBNavigatorView() override;

  wxBitmapButton* Button(TNavigateBtn button) const {
    return FButtons[static_cast<std::size_t>(button)];
  }

 private:
  void Refresh();
  void Act(TNavigateBtn button);
  void Press(TNavigateBtn button);
  void Release();
  void OnRepeat();

  TwwDBNavigator& FModel;
  std::array<wxBitmapButton*, kNavigateButtons.size()> FButtons{};
  wxTimer FRepeat;
  std::optional<TNavigateBtn> FHeld;
  // Between a mouse press on a movement button and its release: the toolkit's click that ends
  // the press has already been acted on.
  bool FPressedByMouse = false;
  TControlBinding FBinding;
};

}  // namespace ui::wx
