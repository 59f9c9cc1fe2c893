#include "platform/staged_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/io_error.h"
#include "platform/paths.h"

namespace platform {

StagedFile::StagedFile(const std::string& target) : FTarget(target) {
  const std::string folder = FolderPart(target);
  std::string name = ".";
  name.append(FileNamePart(target)).append(".XXXXXX");
  std::string pattern = JoinPath(folder.empty() ? "." : folder, name);
  if (mkdtemp(pattern.data()) == nullptr) ThrowInOutError(errno);
  FFolder = pattern;
  FPath = JoinPath(FFolder, FileNamePart(target));
}

StagedFile::~StagedFile() {
  std::error_code ignored;
  if (!FFolder.empty()) std::filesystem::remove_all(FFolder, ignored);
}

void StagedFile::Commit() {
  struct stat old;
  if (lstat(FTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
      chmod(FPath.c_str(), old.st_mode & 07777) != 0) {
    ThrowInOutError(errno);
  }
  if (rename(FPath.c_str(), FTarget.c_str()) != 0) ThrowInOutError(errno);
}

}  // namespace platform
