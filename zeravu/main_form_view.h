#pragma once

#include <memory>

#include "ui/wx/form_view.h"

namespace ui::wx {
class TTimerView;
}

namespace zeravu {

class TFMain;

// The main window on the desktop: the button panel, the record grid, the bottom bar with the
// fixed-columns box and the navigator, and the status bar.
class TFMainView : public ui::wx::TFormView {
 public:
  TFMainView(ui::wx::WxScreen& screen, TFMain& form);
  ~TFMainView() override;

 private:
  std::unique_ptr<ui::wx::TTimerView> FStartTimer;
};

}  // namespace zeravu
