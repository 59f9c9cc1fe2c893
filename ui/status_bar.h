#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

struct TStatusPanel {
  int Width = 0;  // pixels
  std::string Text;
};

// The bar along the bottom of a window, in panels of fixed width.
class TStatusBar : public TControl {
 public:
  using TControl::TControl;

  void AddPanel(int width, const std::string& text = {});
  const std::vector<TStatusPanel>& Panels() const { return FPanels; }
  // An index past the last panel raises "List index out of bounds (<index>)".
  const std::string& PanelText(std::size_t index) const;
  void SetPanelText(std::size_t index, const std::string& text);

 private:
  std::size_t Checked(std::size_t index) const;

  std::vector<TStatusPanel> FPanels;
};

}  // namespace ui
