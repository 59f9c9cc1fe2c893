#pragma once

#include <string>

namespace bench {

// A fresh folder under the temporary folder, removed with everything in it when the object goes.
class TScratchFolder {
 public:
  TScratchFolder();
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::string& Path() const { return FPath; }
  // A path inside the folder.
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

}  // namespace bench
