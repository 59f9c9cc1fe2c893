#include "ui/file_dialog.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "ui/screen.h"

namespace ui {

std::string WithDefaultExt(const std::string& path, const std::string& defaultExt) {
  if (defaultExt.empty()) return path;
  std::string::size_type slash = path.rfind('/');
  std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (path.find('.', nameStart) != std::string::npos) return path;
  return path + "." + defaultExt;
}

std::string AnyCaseMask(const std::string& mask) {
  std::string result = mask;
  std::string::size_type start = 0;
  while (start <= mask.size()) {
    std::string::size_type end = std::min(mask.find(';', start), mask.size());
    std::string pattern = mask.substr(start, end - start);
    const std::string upper = platform::UpperCase(pattern);
    if (upper != pattern) result += ";" + upper;
    start = end + 1;
  }
  return result;
}

bool TFileDialog::Execute(Screen& screen) {
  std::optional<std::string> chosen = screen.ChooseFile(*this);
  if (!chosen) return false;
  FileName = WithDefaultExt(*chosen, DefaultExt);
  return true;
}

}  // namespace ui
