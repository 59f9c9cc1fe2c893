#pragma once

#include <string>

namespace platform {

// A file built where nobody looks and moved over its target only once it is whole: whatever is
// at the target stays as it was until Commit. The file is made in a private folder (0700) beside
// the target, so the move never crosses file systems and no other user can touch the file on
// the way. Without Commit the folder and all in it are removed.
class StagedFile {
 public:
  explicit StagedFile(const std::string& target);  // throws EInOutError
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Where to build the file; it has the target's file name.
  const std::string& Path() const { return FPath; }
  // Moves the file over the target; a regular file replaced there passes its mode on. Throws
  // EInOutError, leaving the target as it was.
  void Commit();

 private:
  std::string FTarget;
  std::string FFolder;
  std::string FPath;
};

}  // namespace platform
