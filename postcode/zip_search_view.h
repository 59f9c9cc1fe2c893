#pragma once

#include "ui/wx/form_view.h"

namespace ui::wx {
class WxScreen;
}

namespace postcode {

class TFZipSearch;

// The window of the postcode lookup form, laid out as the program it serves has it: Zeravu's
// modal dialog, or Zireziv's only window, which has no "우편번호만 필요" box and its own places.
// Every action goes to the form's handlers; the view only shows. The form must outlive it.
class TZipSearchView : public ui::wx::TFormView {
 public:
  enum class TLayout { ZeravuDialog, ZirezivWindow };

  TZipSearchView(ui::wx::WxScreen& screen, TFZipSearch& form, TLayout layout);
};

}  // namespace postcode
