#include "ui/file_dialog.h"

#include "ui/screen.h"

namespace ui {

std::string WithDefaultExt(const std::string& path, const std::string& defaultExt) {
  if (defaultExt.empty()) return path;
  std::string::size_type slash = path.rfind('/');
  std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (path.find('.', nameStart) != std::string::npos) return path;
  return path + "." + defaultExt;
}

bool TFileDialog::Execute(Screen& screen) {
  std::optional<std::string> chosen = screen.ChooseFile(*this);
  if (!chosen) return false;
  FileName = WithDefaultExt(*chosen, DefaultExt);
  return true;
}

}  // namespace ui
