#include "ui/file_dialog.h"

#include <gtest/gtest.h>

#include "ui/testing/scripted_screen.h"

namespace ui {
namespace {

TEST(FileDialog, DefaultExtensionOnlyForNamesWithout) {
  struct {
    const char* typed;
    const char* want;
  } cases[] = {
      {"/home/u/new", "/home/u/new.mdb"},
      {"/home/u/new.mdb", "/home/u/new.mdb"},
      {"/home/u/new.csv", "/home/u/new.csv"},
      {"/home/u.d/new", "/home/u.d/new.mdb"},  // a dot in a folder name is no extension
      {"new", "new.mdb"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithDefaultExt(c.typed, "mdb"), c.want) << c.typed;
  EXPECT_EQ(WithDefaultExt("/x/new", ""), "/x/new");
}

TEST(FileDialog, MasksMatchNamesInEitherCase) {
  EXPECT_EQ(AnyCaseMask("*.mdb"), "*.mdb;*.MDB");
  EXPECT_EQ(AnyCaseMask("*.csv;*.txt"), "*.csv;*.txt;*.CSV;*.TXT");
  EXPECT_EQ(AnyCaseMask("*.*"), "*.*");
  EXPECT_EQ(AnyCaseMask("*.MDB"), "*.MDB");
}

TEST(FileDialog, ExecuteHandsTheDialogToTheScreenAndKeepsTheChoice) {
  testing::ScriptedScreen screen;
  TFileDialog od(TFileDialog::TKind::Open);
  od.Title = "자료열기";
  od.InitialDir = "/data";
  od.DefaultExt = "mdb";
  screen.ExpectFileDialog("자료열기", std::optional<std::string>("/data/list"));
  screen.ExpectFileDialog("자료열기", std::optional<std::string>());
  ASSERT_TRUE(od.Execute(screen));
  EXPECT_EQ(od.FileName, "/data/list.mdb");
  EXPECT_EQ(screen.Shown().at(0).Dialog->InitialDir, "/data");
  EXPECT_FALSE(od.Execute(screen));
}

}  // namespace
}  // namespace ui
