#pragma once

#include <wx/panel.h>
#include <wx/timer.h>

#include "ui/spin_edit.h"
#include "ui/wx/control_binding.h"

class wxTextCtrl;

namespace ui::wx {

class TFormView;

// An integer box with a narrow pair of arrows beside it. The text goes to the model as typed
// (the model decides what number it is); the arrows, held down, repeat. The toolkit's own spin
// control is not used: it rejects text that is not a number and needs more room than the
// forms give it.
class TSpinEditView : public wxPanel {
 public:
  TSpinEditView(TFormView& form, wxWindow* parent, TSpinEdit& model, const wxRect& rect);

 private:
  class TArrows;

  void Refresh();
  void Step(int direction);

  TSpinEdit& FModel;
  wxTextCtrl* FText;
  TArrows* FArrows;
  TControlBinding FBinding;
};

}  // namespace ui::wx
