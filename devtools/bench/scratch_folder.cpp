#include "devtools/bench/scratch_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "platform/folders.h"

namespace bench {

TScratchFolder::TScratchFolder() {
  std::string pattern = platform::TempFolder() + "/zarize-bench-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr)
    throw std::runtime_error("cannot make a scratch folder: " + std::string(std::strerror(errno)));
  FPath = name.data();
}

TScratchFolder::~TScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

}  // namespace bench
