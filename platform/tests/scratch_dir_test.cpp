#include "platform/testing/scratch_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/folders.h"
#include "platform/testing/unprivileged.h"

namespace platform {
namespace {

TEST(ScratchDir, MakesFoldersOnTheWayAndRemovesEverythingEvenWhenLocked) {
  std::string root;
  {
    testing::ScratchDir dir;
    root = dir.Root();
    dir.Write("a/b/file", "bytes");
    EXPECT_EQ(dir.Read("a/b/file"), "bytes");
    // The unprivileged user can change what the test wrote.
    testing::RunAsUnprivileged([&] { dir.Write("a/b/file", "changed"); });
    EXPECT_EQ(dir.Read("a/b/file"), "changed");
    ASSERT_EQ(chmod(dir.Path("a/b").c_str(), 0500), 0);
    ASSERT_EQ(chmod(dir.Path("a").c_str(), 0500), 0);
  }
  EXPECT_FALSE(DirectoryExists(root));
}

}  // namespace
}  // namespace platform
