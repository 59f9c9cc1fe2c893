#include "platform/paths.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Paths, FolderAndFileNameParts) {
  struct {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {
      {"/home/u/ZARIZE/DB/Address/list.mdb", "/home/u/ZARIZE/DB/Address", "list.mdb"},
      {"/list.mdb", "/", "list.mdb"},
      {"list.mdb", "", "list.mdb"},
      {"/home/u/dir/", "/home/u/dir", ""},
      {"/home/u/주소록.mdb", "/home/u", "주소록.mdb"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
  }
}

TEST(Paths, JoinPutsExactlyOneSeparator) {
  EXPECT_EQ(JoinPath("/a/b", "c.mdb"), "/a/b/c.mdb");
  EXPECT_EQ(JoinPath("/", "c.mdb"), "/c.mdb");
  EXPECT_EQ(JoinPath("", "c.mdb"), "c.mdb");
}

TEST(Paths, ApplicationNameRule) {
  struct {
    const char* exe;
    const char* name;
  } cases[] = {
      {"/opt/zarize/Zeravu", "Zeravu"},
      {"/opt/zarize/ZERAVU.EXE", "Zeravu"},
      {"/opt/zarize/zireziv.copy.bin", "zireziv"},
      {"Zeravu2", "Zeravu2"},
      {"/opt/.hidden", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ApplicationName(c.exe), c.name) << c.exe;
}

}  // namespace
}  // namespace platform
