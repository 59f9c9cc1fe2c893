#include "platform/atomic_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <set>

#include "platform/errors.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"

namespace platform {
namespace {

using namespace std::string_literals;
using testing::ScratchDir;

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") names.insert(name);
    }
    closedir(dir);
  }
  return names;
}

TEST(AtomicFile, WithoutCommitNothingChanges) {
  ScratchDir dir;
  {
    AtomicFileWriter writer(dir.Path("new.csv"));
    writer.Stream() << "half a file";
  }
  EXPECT_TRUE(Entries(dir.Root()).empty());

  dir.Write("hhh.csv", "old\n");
  {
    AtomicFileWriter writer(dir.Path("hhh.csv"));
    writer.Stream() << "new\n";
  }
  EXPECT_EQ(dir.Read("hhh.csv"), "old\n");
  EXPECT_EQ(Entries(dir.Root()), std::set<std::string>{"hhh.csv"});
}

TEST(AtomicFile, AWriterKilledBeforeCommitLeavesNothingBehind) {
  ScratchDir dir;
  dir.Write("zeder.INI", "old\n");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    AtomicFileWriter writer(dir.Path("zeder.INI"));
    writer.Stream() << "half a file";
    raise(SIGKILL);  // no destructor runs, as when the process is killed
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(Entries(dir.Root()), std::set<std::string>{"zeder.INI"});
  EXPECT_EQ(dir.Read("zeder.INI"), "old\n");
}

TEST(AtomicFile, CommitReplacesWithExactlyTheGivenMode) {
  for (mode_t mode : {0600, 0644, 0660}) {
    ScratchDir dir;
    dir.Write("hhh.csv", "old contents that are longer\n");
    ReplaceFileAtomically(dir.Path("hhh.csv"), "a,b\n\0end"s, mode);
    EXPECT_EQ(dir.Read("hhh.csv"), "a,b\n\0end"s);
    struct stat info;
    ASSERT_EQ(stat(dir.Path("hhh.csv").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
    EXPECT_EQ(Entries(dir.Root()), std::set<std::string>{"hhh.csv"});  // no temporary left
  }
}

TEST(AtomicFile, PlantedLinkIsReplacedNotFollowed) {
  ScratchDir dir;
  dir.Write("victim", "precious");
  ASSERT_EQ(symlink(dir.Path("victim").c_str(), dir.Path("hhh.csv").c_str()), 0);
  ReplaceFileAtomically(dir.Path("hhh.csv"), "labels\n", 0600);
  EXPECT_EQ(dir.Read("victim"), "precious");
  struct stat info;
  ASSERT_EQ(lstat(dir.Path("hhh.csv").c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(dir.Read("hhh.csv"), "labels\n");
}

TEST(AtomicFile, FailuresAreInOutErrors) {
  ScratchDir dir;
  ASSERT_EQ(mkdir(dir.Path("locked").c_str(), 0555), 0);
  ASSERT_EQ(mkdir(dir.Path("target").c_str(), 0777), 0);
  dir.Write("target/inside", "x");
  testing::RunAsUnprivileged([&] {
    struct {
      std::string path;
      std::string text;
    } cases[] = {
        {dir.Path("missing/hhh.csv"), "Path not found"},
        {dir.Path("locked/hhh.csv"), "File access denied"},
        {dir.Path("target"), "I/O error 21"},  // a non-empty folder cannot be replaced
    };
    for (const auto& c : cases) {
      try {
        ReplaceFileAtomically(c.path, "x");
        ADD_FAILURE() << "wrote " << c.path;
      } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), c.text) << c.path;
      }
    }
  });
  EXPECT_EQ(Entries(dir.Root()), (std::set<std::string>{"locked", "target"}));
  EXPECT_EQ(dir.Read("target/inside"), "x");
}

}  // namespace
}  // namespace platform
