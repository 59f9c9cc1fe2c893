#include "ui/status_bar.h"

#include "platform/errors.h"

namespace ui {

void TStatusBar::AddPanel(int width, const std::string& text) {
  FPanels.push_back({width, text});
  Changed.Emit();
}

std::size_t TStatusBar::Checked(std::size_t index) const {
  if (index >= FPanels.size()) {
    throw platform::Exception("List index out of bounds (" + std::to_string(index) + ")");
  }
  return index;
}

const std::string& TStatusBar::PanelText(std::size_t index) const {
  return FPanels[Checked(index)].Text;
}

void TStatusBar::SetPanelText(std::size_t index, const std::string& text) {
  Set(FPanels[Checked(index)].Text, text);
}

}  // namespace ui
