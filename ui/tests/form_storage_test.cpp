#include "ui/form_storage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/errors.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"
#include "ui/form.h"

namespace ui {
namespace {

struct PlacementFixture {
  platform::testing::ScratchDir dir;
  std::string IniPath = dir.Path("Zeravu.INI");
  TForm Form{"TFMain"};

  std::unique_ptr<TFormStorage> Storage() {
    auto storage = std::make_unique<TFormStorage>(Form);
    storage->IniFileName = IniPath;
    return storage;
  }
};

TEST(FormStorage, APlacementSavedOnCloseComesBackOnTheNextRun) {
  PlacementFixture f;
  f.dir.Write("Zeravu.INI", "[HOST]\nkeep=1\n");
  const TPlacement cases[] = {
      {274, 101, 778, 622, false}, {-40, 0, 300, 200, true},  // partly off screen, maximised
  };
  for (const TPlacement& placement : cases) {
    auto closing = f.Storage();
    closing->Placement = placement;
    closing->SaveFormPlacement();
    auto next = f.Storage();
    ASSERT_TRUE(next->RestoreFormPlacement());
    EXPECT_EQ(next->Placement, placement);
  }
  std::string text = f.dir.Read("Zeravu.INI");
  EXPECT_EQ(text.rfind("[HOST]\nkeep=1\n[TFMain]\n", 0), 0u) << text;
}

TEST(FormStorage, AMissingConfigurationFolderIsMadeOnSave) {
  PlacementFixture f;
  f.IniPath = f.dir.Path("home/.config/Zeravu.INI");  // a fresh account: neither folder yet
  auto closing = f.Storage();
  closing->Placement = {10, 20, 300, 200, false};
  closing->SaveFormPlacement();
  auto next = f.Storage();
  ASSERT_TRUE(next->RestoreFormPlacement());
  EXPECT_EQ(next->Placement, closing->Placement);
}

TEST(FormStorage, NothingOrPartOfAPlacementRestoresNothing) {
  const char* files[] = {
      nullptr,
      "",
      "[TFMain]\nLeft=10\nTop=20\n",
      "[TFMain]\nLeft=10\nTop=20\nWidth=0\nHeight=100\n",
      "[TFMain]\nLeft=10\nTop=x\nWidth=300\nHeight=100\n",
      "[TFOther]\nLeft=10\nTop=20\nWidth=300\nHeight=100\n",
  };
  for (const char* content : files) {
    PlacementFixture f;
    if (content) f.dir.Write("Zeravu.INI", content);
    auto storage = f.Storage();
    storage->Placement = {1, 2, 3, 4, true};
    EXPECT_FALSE(storage->RestoreFormPlacement()) << (content ? content : "(no file)");
    EXPECT_EQ(storage->Placement, (TPlacement{1, 2, 3, 4, true}));
  }
}

TEST(FormStorage, TheStoreIsNamedAfterTheExecutableAndTheFormClass) {
  platform::testing::ScopedEnv config("XDG_CONFIG_HOME", std::string("/cfg"));
  TForm form("TFMain");
  {
    TFormStorage storage(form);
    EXPECT_EQ(storage.IniFileName, "/cfg/ui_tests.INI");
    EXPECT_EQ(storage.IniSection, "TFMain");
    EXPECT_EQ(form.Storage(), &storage);
  }
  EXPECT_EQ(form.Storage(), nullptr);
}

TEST(FormStorage, AStoreThatCannotBeWrittenRaisesTheSettingsError) {
  PlacementFixture f;
  ASSERT_EQ(mkdir(f.dir.Path("locked").c_str(), 0555), 0);
  f.IniPath = f.dir.Path("locked/Zeravu.INI");
  platform::testing::RunAsUnprivileged([&] {
    auto storage = f.Storage();
    try {
      storage->SaveFormPlacement();
      ADD_FAILURE() << "the write went through";
    } catch (const platform::EIniFileError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + f.IniPath);
    }
  });
}

}  // namespace
}  // namespace ui
