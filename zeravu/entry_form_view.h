#pragma once

#include "ui/wx/form_view.h"

namespace zeravu {

class TFAddrInfoIn;

// The record entry dialog on the desktop: six labelled boxes in their focus order, the postcode
// button and the two buttons in the lowered bottom panel.
class TFAddrInfoInView : public ui::wx::TFormView {
 public:
  TFAddrInfoInView(ui::wx::WxScreen& screen, TFAddrInfoIn& form);
};

}  // namespace zeravu
