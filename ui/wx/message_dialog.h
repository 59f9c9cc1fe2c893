#pragma once

#include <wx/dialog.h>

#include <string>

#include "ui/screen.h"

namespace ui::wx {

// The message box: icon, text and the buttons "확인" (and "취소"), as a dialog of our own since
// the desktop's native one shows no icon. Escape and the close box answer like the last button.
class TMessageDialog : public wxDialog {
 public:
  TMessageDialog(wxWindow* parent, const std::string& text, const std::string& title,
                 TMsgButtons buttons, TMsgIcon icon, long extraStyle);

  // Shows it modally; mrOk or mrCancel.
  int Run();

 private:
  int FEscapeAnswer;
};

}  // namespace ui::wx
