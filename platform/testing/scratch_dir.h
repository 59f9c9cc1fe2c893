#pragma once

#include <string>
#include <string_view>

namespace platform::testing {

// A fresh folder under the temporary folder, removed with everything in it when the object
// goes. When the tests run as root it is open to everyone (0777), so a part of a test run by
// RunAsUnprivileged can create files in it too.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Root() const { return FRoot; }
  std::string Path(const std::string& name) const;
  // Writes `bytes` to Path(name), making missing folders on the way, and answers the path. Under
  // root the file is 0666 and new folders 0777, so the unprivileged user may change them.
  std::string Write(const std::string& name, std::string_view bytes) const;
  // Makes Path(name) a folder of the user running the test that nobody else may change (0700),
  // as a runtime folder must be, and answers it.
  std::string PrivateFolder(const std::string& name) const;
  // The whole file; a failed test and "" when it cannot be read.
  std::string Read(const std::string& name) const;

 private:
  std::string FRoot;
};

}  // namespace platform::testing
