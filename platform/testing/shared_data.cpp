#include "platform/testing/shared_data.h"

#include <algorithm>
#include <filesystem>

namespace platform::testing {

namespace fs = std::filesystem;

std::string SharedDataPath(const std::string& relative) {
  return (fs::path(ZARIZE_SHARED_DATA_DIR) / relative).string();
}

std::string MissingSharedData(const std::string& relative) {
  const std::string path = SharedDataPath(relative);
  std::error_code error;
  if (fs::exists(path, error)) return "";
  return "needs the shared test data " + path +
         ", which is not there (it lies beside the project's folder, not in it)";
}

std::vector<std::string> SharedDataFiles(const std::string& folder, const std::string& suffix) {
  std::vector<std::string> files;
  std::error_code error;
  for (fs::directory_iterator it(SharedDataPath(folder), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.ends_with(suffix)) files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace platform::testing
