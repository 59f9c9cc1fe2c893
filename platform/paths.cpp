#include "platform/paths.h"

#include "platform/ascii_case.h"

namespace platform {

std::string FolderPart(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FileNamePart(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string ApplicationName(const std::string& executablePath) {
  std::string name = FileNamePart(executablePath);
  name = name.substr(0, name.find('.'));
  if (name.empty()) return name;
  return name.front() + LowerCase(std::string_view(name).substr(1));
}

}  // namespace platform
