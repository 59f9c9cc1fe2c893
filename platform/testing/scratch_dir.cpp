#include "platform/testing/scratch_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "platform/folders.h"
#include "platform/paths.h"

namespace platform::testing {
namespace {

// Tests take rights away from folders; give them back so everything can be removed.
void RestoreRights(const std::string& root) {
  std::error_code ignored;
  std::filesystem::permissions(root, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  for (auto it = std::filesystem::recursive_directory_iterator(
           root, std::filesystem::directory_options::skip_permission_denied, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
}

// Makes the missing folders above a file; under root they are open to everyone, like the root.
void MakeParents(const std::string& folder) {
  if (folder.empty() || DirectoryExists(folder)) return;
  MakeParents(FolderPart(folder));
  mkdir(folder.c_str(), 0755);
  if (geteuid() == 0) chmod(folder.c_str(), 0777);
}

}  // namespace

ScratchDir::ScratchDir() {
  std::string pattern = JoinPath(TempFolder(), "zarize-test-XXXXXX");
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
  FRoot = pattern;
  if (geteuid() == 0) chmod(FRoot.c_str(), 0777);
}

ScratchDir::~ScratchDir() {
  std::error_code error;
  std::filesystem::remove_all(FRoot, error);
  if (error) {
    RestoreRights(FRoot);
    std::filesystem::remove_all(FRoot, error);
  }
}

std::string ScratchDir::Path(const std::string& name) const {
  return JoinPath(FRoot, name);
}

std::string ScratchDir::Write(const std::string& name, std::string_view bytes) const {
  std::string path = Path(name);
  MakeParents(FolderPart(path));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  EXPECT_TRUE(out) << "cannot write " << path;
  if (geteuid() == 0) chmod(path.c_str(), 0666);
  return path;
}

std::string ScratchDir::PrivateFolder(const std::string& name) const {
  const std::string path = Path(name);
  MakeParents(FolderPart(path));
  EXPECT_EQ(mkdir(path.c_str(), 0700), 0) << "cannot make " << path;
  return path;
}

std::string ScratchDir::Read(const std::string& name) const {
  std::ifstream in(Path(name), std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << Path(name);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace platform::testing
