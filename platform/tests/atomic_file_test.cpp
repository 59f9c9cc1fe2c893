#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/staged_file.h"
#include "platform/testing/scoped_env.h"
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

TEST(AtomicFile, ANewFileTakesTheUmaskAReplacedOneKeepsItsModeAnExactModeIsExact) {
  struct {
    const char* what;
    mode_t umask;
    mode_t existing;  // 0: nothing there before
    FileMode mode;
    mode_t want;
  } cases[] = {
      {"new, umask 022", 022, 0, FileMode::NewFile(), 0644},
      {"new, umask 077", 077, 0, FileMode::NewFile(), 0600},
      {"new, umask 002", 002, 0, FileMode::NewFile(), 0664},
      {"new private file, umask 0", 0, 0, FileMode::NewFile(0600), 0600},
      {"replaced 0600, umask 022", 022, 0600, FileMode::NewFile(), 0600},
      {"replaced 0664, umask 077", 077, 0664, FileMode::NewFile(), 0664},
      {"exact over 0644, umask 0", 0, 0644, FileMode::Exactly(0600), 0600},
      {"exact new, umask 077", 077, 0, FileMode::Exactly(0640), 0640},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    if (c.existing != 0) {
      dir.Write("out.csv", "old contents that are longer\n");
      ASSERT_EQ(chmod(dir.Path("out.csv").c_str(), c.existing), 0);
    }
    {
      testing::ScopedUmask mask(c.umask);
      ReplaceFileAtomically(dir.Path("out.csv"), "a,b\n\0end"s, c.mode);
    }
    EXPECT_EQ(dir.Read("out.csv"), "a,b\n\0end"s) << c.what;
    struct stat info;
    ASSERT_EQ(stat(dir.Path("out.csv").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.want) << c.what;
    EXPECT_EQ(Entries(dir.Root()), std::set<std::string>{"out.csv"}) << c.what;  // no temporary
  }
}

TEST(AtomicFile, AFileOfAnotherUserInASharedFolderIsNamedAndNeverTouched) {
  if (geteuid() != 0) GTEST_SKIP() << "planting a file of another user needs root (chown)";
  constexpr uid_t kOtherUser = testing::kUnprivilegedId - 1;
  ScratchDir dir;
  const std::string theirs = dir.Write("theirs.txt", "their secret");
  struct {
    const char* kind;
    std::function<int(const char*)> plant;
    mode_t type;
  } cases[] = {
      {"file",
       [](const char* p) {
         const int fd = open(p, O_WRONLY | O_CREAT | O_EXCL, 0644);
         return fd < 0 || write(fd, "theirs", 6) != 6 ? -1 : close(fd);
       },
       S_IFREG},
      {"folder", [](const char* p) { return mkdir(p, 0755); }, S_IFDIR},
      {"FIFO", [](const char* p) { return mkfifo(p, 0666); }, S_IFIFO},
      {"link", [&](const char* p) { return symlink(theirs.c_str(), p); }, S_IFLNK},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(mkdir(dir.Path("shared").c_str(), 0777), 0);
    ASSERT_EQ(chmod(dir.Path("shared").c_str(), 01777), 0);  // as /tmp is
    const std::string path = dir.Path("shared/hhh.csv");
    ASSERT_EQ(c.plant(path.c_str()), 0) << c.kind;
    ASSERT_EQ(lchown(path.c_str(), kOtherUser, kOtherUser), 0) << c.kind;
    testing::RunAsUnprivileged([&] {
      try {
        ReplaceFileAtomically(path, "labels\n", FileMode::Exactly(0600));
        ADD_FAILURE() << "replaced the " << c.kind;
      } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "File access denied: " + path + " belongs to another user")
            << c.kind;
      }
    });
    struct stat info;
    ASSERT_EQ(lstat(path.c_str(), &info), 0) << c.kind;
    EXPECT_EQ(info.st_mode & S_IFMT, c.type) << c.kind;
    EXPECT_EQ(info.st_uid, kOtherUser) << c.kind;
    EXPECT_EQ(Entries(dir.Path("shared")), std::set<std::string>{"hhh.csv"}) << c.kind;
    EXPECT_EQ(dir.Read("theirs.txt"), "their secret");
    std::filesystem::remove_all(dir.Path("shared"));
  }
}

TEST(AtomicFile, PlantedLinkIsReplacedNotFollowed) {
  ScratchDir dir;
  dir.Write("victim", "precious");
  ASSERT_EQ(symlink(dir.Path("victim").c_str(), dir.Path("hhh.csv").c_str()), 0);
  ReplaceFileAtomically(dir.Path("hhh.csv"), "labels\n", FileMode::Exactly(0600));
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

TEST(StagedFile, TheTargetIsAsItWasUntilCommitAndNothingStaysBehind) {
  ScratchDir dir;
  const std::string target = dir.Write("list.mdb", "old");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  {
    StagedFile staged(target);
    EXPECT_EQ(FileNamePart(staged.Path()), "list.mdb");
    EXPECT_NE(staged.Path(), target);
    dir.Write(staged.Path().substr(dir.Root().size() + 1), "abandoned");
  }
  EXPECT_EQ(dir.Read("list.mdb"), "old");
  EXPECT_EQ(Entries(dir.Root()), std::set<std::string>{"list.mdb"});

  {
    StagedFile staged(target);
    dir.Write(staged.Path().substr(dir.Root().size() + 1), "new");
    EXPECT_EQ(dir.Read("list.mdb"), "old");
    staged.Commit();
  }
  EXPECT_EQ(dir.Read("list.mdb"), "new");
  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(dir.Root()), std::set<std::string>{"list.mdb"});
}

}  // namespace
}  // namespace platform
