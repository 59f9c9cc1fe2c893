#include "platform/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/errors.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"

namespace platform {
namespace {

using testing::ScopedEnv;
using testing::ScratchDir;

mode_t ModeOf(const std::string& path) {
  struct stat info;
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(Folders, ExecutableFolderHoldsTheRunningProgram) {
  EXPECT_EQ(ExecutablePath(), ExecutableFolder() + "/platform_tests");
  EXPECT_TRUE(FileExists(ExecutablePath()));
}

TEST(Folders, DocumentsFolderAsTheUserDirsFileSaysIt) {
  struct {
    const char* name;
    const char* userDirs;  // nullptr: no file
    const char* expected;  // relative to $HOME when it does not start with '/'
  } cases[] = {
      {"no file", nullptr, ""},
      {"under home", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/문서\"\n",
       "/문서"},
      {"absolute, blanks around '='", "  XDG_DOCUMENTS_DIR = \"/srv/docs/\"\n", "/srv/docs"},
      {"home itself", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", ""},
      {"later line wins", "XDG_DOCUMENTS_DIR=\"$HOME/a\"\nXDG_DOCUMENTS_DIR=\"$HOME/b\"\n", "/b"},
      {"escaped quote", "XDG_DOCUMENTS_DIR=\"$HOME/my \\\"docs\\\"\"\n", "/my \"docs\""},
      {"commented out", "# XDG_DOCUMENTS_DIR=\"$HOME/x\"\n", ""},
      {"relative path is not allowed", "XDG_DOCUMENTS_DIR=\"docs\"\n", ""},
      {"unquoted", "XDG_DOCUMENTS_DIR=$HOME/docs\n", ""},
      {"no closing quote", "XDG_DOCUMENTS_DIR=\"$HOME/docs\n", ""},
      {"other variable", "XDG_DOCUMENTS_DIRX=\"$HOME/x\"\n$HOMEX=1\n", ""},
      {"$HOME followed by more name", "XDG_DOCUMENTS_DIR=\"$HOMEX/docs\"\n", ""},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    ScopedEnv home("HOME", dir.Path("home"));
    ScopedEnv config("XDG_CONFIG_HOME", dir.Root());
    if (c.userDirs) dir.Write("user-dirs.dirs", c.userDirs);
    std::string expected = c.expected[0] == '/' && c.expected[1] == 's'
                               ? std::string(c.expected)
                               : dir.Path("home") + c.expected;
    EXPECT_EQ(DocumentsFolder(), expected) << c.name;
  }
}

TEST(Folders, ConfigAndHomeFromTheEnvironment) {
  ScratchDir dir;
  ScopedEnv home("HOME", dir.Root() + "/");
  {
    ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(HomeFolder(), dir.Root());
    EXPECT_EQ(ConfigFolder(), dir.Path(".config"));
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", "relative/config");  // only absolute paths count
    EXPECT_EQ(ConfigFolder(), dir.Path(".config"));
  }
  ScopedEnv config("XDG_CONFIG_HOME", "/etc/xdg-test");
  EXPECT_EQ(ConfigFolder(), "/etc/xdg-test");
}

TEST(Folders, TempFolderIsTmpdirOnlyWhenThatIsAFolder) {
  ScratchDir dir;
  struct {
    std::optional<std::string> tmpdir;
    std::string expected;
  } cases[] = {
      {std::nullopt, "/tmp"},           {"", "/tmp"},
      {dir.Write("file", "x"), "/tmp"}, {dir.Path("missing"), "/tmp"},
      {dir.Root() + "/", dir.Root()},
  };
  for (const auto& c : cases) {
    ScopedEnv tmpdir("TMPDIR", c.tmpdir);
    EXPECT_EQ(TempFolder(), c.expected) << c.tmpdir.value_or("(unset)");
  }
}

TEST(Folders, RuntimeFolderIsXdgRuntimeDirOnlyWhenNobodyElseCanChangeIt) {
  ScratchDir dir;
  const std::string own = dir.PrivateFolder("own");
  for (const std::string& value : {own, own + "/"}) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", value);
    EXPECT_EQ(RuntimeFolder(), own) << value;
  }
  {
    ScopedEnv unset("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(RuntimeFolder(), PrivateFolderIn("/tmp"));
  }

  auto folder = [&](const std::string& name, mode_t mode) {
    const std::string path = dir.PrivateFolder(name);
    EXPECT_EQ(chmod(path.c_str(), mode), 0);
    return path;
  };
  ASSERT_EQ(symlink(own.c_str(), dir.Path("link").c_str()), 0);
  struct {
    std::string value;
    std::string why;
  } refused[] = {
      {folder("open", 0777), "other users may write to it"},
      {folder("group", 0770), "other users may write to it"},
      {folder("sticky", 01777), "other users may write to it"},
      {dir.Path("link"), "it is a link"},
      {dir.Write("file", ""), "it is not a folder"},
      {dir.Path("missing"), "No such file or directory"},
      {"run/user", "it is not an absolute path"},
  };
  std::vector<std::pair<std::string, std::string>> cases;
  for (const auto& c : refused) cases.emplace_back(c.value, c.why);
  if (geteuid() == 0) {  // a folder of another user's can only be made by root
    const std::string foreign = folder("foreign", 0700);
    EXPECT_EQ(chown(foreign.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId), 0);
    cases.emplace_back(foreign, "it belongs to another user");
  }
  const std::string fallback = PrivateFolderIn("/tmp");
  for (const auto& [value, why] : cases) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", value);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RuntimeFolder(), fallback) << value;
    EXPECT_EQ(RuntimeFolder(), fallback) << value;
    // Said once, however often the folder is asked for.
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              std::string(program_invocation_short_name) + ": not using XDG_RUNTIME_DIR " + value +
                  " (" + why + "); using " + fallback + " instead\n");
  }
}

TEST(Folders, PrivateFolderIsMadeOwnerOnly) {
  ScratchDir dir;
  const std::string expected = dir.Path("zarize-" + std::to_string(getuid()));
  EXPECT_EQ(PrivateFolderIn(dir.Root()), expected);
  EXPECT_EQ(ModeOf(expected), 0700u);
  ASSERT_EQ(chmod(expected.c_str(), 0777), 0);  // widened by someone: narrowed again
  EXPECT_EQ(PrivateFolderIn(dir.Root()), expected);
  EXPECT_EQ(ModeOf(expected), 0700u);
}

TEST(Folders, PrivateFolderRefusedWhenNotAFolder) {
  const std::string name = "zarize-" + std::to_string(getuid());
  {
    ScratchDir dir;
    dir.Write(name, "a file");
    EXPECT_THROW(PrivateFolderIn(dir.Root()), EInOutError);
  }
  {
    ScratchDir dir;
    ASSERT_EQ(mkdir(dir.Path("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(symlink(dir.Path("elsewhere").c_str(), dir.Path(name).c_str()), 0);
    EXPECT_THROW(PrivateFolderIn(dir.Root()), EInOutError);
  }
}

TEST(Folders, PrivateFolderRefusedWhenOwnedByAnotherUser) {
  if (geteuid() != 0) GTEST_SKIP() << "a folder of another user can only be planted by root";
  ScratchDir dir;
  // Planted by root, so not the unprivileged user's own.
  const std::string planted = dir.Path("zarize-" + std::to_string(testing::kUnprivilegedId));
  ASSERT_EQ(mkdir(planted.c_str(), 0777), 0);
  ASSERT_EQ(chmod(planted.c_str(), 0777), 0);
  testing::RunAsUnprivileged([&] {
    try {
      PrivateFolderIn(dir.Root());
      ADD_FAILURE() << "accepted " << planted;
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.Message(), "The folder " + planted + " is not a directory owned by this user");
    }
  });
}

TEST(Folders, FileAndDirectoryTests) {
  ScratchDir dir;
  dir.Write("file", "x");
  ASSERT_EQ(mkdir(dir.Path("dir").c_str(), 0755), 0);
  ASSERT_EQ(symlink("file", dir.Path("link-to-file").c_str()), 0);
  ASSERT_EQ(symlink("dir", dir.Path("link-to-dir").c_str()), 0);
  ASSERT_EQ(symlink("nothing", dir.Path("dangling").c_str()), 0);
  struct {
    const char* name;
    bool file, directory;
  } cases[] = {
      {"file", true, false},        {"dir", false, true},       {"link-to-file", true, false},
      {"link-to-dir", false, true}, {"dangling", false, false}, {"missing", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExists(dir.Path(c.name)), c.file) << c.name;
    EXPECT_EQ(DirectoryExists(dir.Path(c.name)), c.directory) << c.name;
  }
  EXPECT_TRUE(DeleteFile(dir.Path("link-to-file")));
  EXPECT_TRUE(FileExists(dir.Path("file")));  // the link went, not its target
  EXPECT_TRUE(DeleteFile(dir.Path("file")));
  EXPECT_FALSE(FileExists(dir.Path("file")));
  EXPECT_TRUE(DeleteFile(dir.Path("file")));  // already gone
  EXPECT_FALSE(DeleteFile(dir.Path("dir")));
  EXPECT_TRUE(DirectoryExists(dir.Path("dir")));
}

TEST(Folders, CreateFolderMakesOneLevelAndReportsLikeTheRunTimeLibrary) {
  ScratchDir dir;
  CreateFolder(dir.Path("ZARIZE"));
  EXPECT_TRUE(DirectoryExists(dir.Path("ZARIZE")));
  CreateFolder(dir.Path("ZARIZE"));  // already there: fine
  dir.Write("file", "x");
  ASSERT_EQ(mkdir(dir.Path("locked").c_str(), 0555), 0);

  testing::RunAsUnprivileged([&] {
    struct {
      std::string path;
      std::string text;
      int code;
    } cases[] = {
        {dir.Path("missing/DB"), "Path not found", ENOENT},
        {dir.Path("file/DB"), "Path not found", ENOTDIR},
        {dir.Path("locked/DB"), "File access denied", EACCES},
        {dir.Path("file"), "I/O error 17", EEXIST},
    };
    for (const auto& c : cases) {
      try {
        CreateFolder(c.path);
        ADD_FAILURE() << "made " << c.path;
      } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), c.text) << c.path;
        EXPECT_EQ(e.ErrorCode, c.code) << c.path;
      }
    }
  });
  EXPECT_FALSE(DirectoryExists(dir.Path("locked/DB")));
}

}  // namespace
}  // namespace platform
