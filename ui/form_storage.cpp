#include "ui/form_storage.h"

#include <climits>

#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "ui/form.h"

namespace ui {

namespace {

constexpr int kMissing = INT_MIN;

}  // namespace

std::string DefaultPlacementFileName() {
  std::string name = platform::FileNamePart(platform::ExecutablePath());
  std::string::size_type dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return platform::JoinPath(platform::ConfigFolder(), name + ".INI");
}

TFormStorage::TFormStorage(TForm& owner)
    : IniFileName(DefaultPlacementFileName()), IniSection(owner.ClassName()), FOwner(owner) {
  FOwner.FStorage = this;
}

TFormStorage::~TFormStorage() {
  if (FOwner.FStorage == this) FOwner.FStorage = nullptr;
}

bool TFormStorage::RestoreFormPlacement() {
  const platform::ProfileSnapshot ini = platform::ProfileFile(IniFileName).Read();
  TPlacement read;
  read.Left = ini.ReadInteger(IniSection, "Left", kMissing);
  read.Top = ini.ReadInteger(IniSection, "Top", kMissing);
  read.Width = ini.ReadInteger(IniSection, "Width", kMissing);
  read.Height = ini.ReadInteger(IniSection, "Height", kMissing);
  read.Maximized = ini.ReadBool(IniSection, "Maximized", false);
  if (read.Left == kMissing || read.Top == kMissing || read.Width <= 0 || read.Height <= 0) {
    return false;
  }
  Placement = read;
  return true;
}

void TFormStorage::SaveFormPlacement() const {
  // A fresh account may have no configuration folder yet.
  platform::CreateFolders(platform::FolderPart(IniFileName));
  platform::ProfileFile ini(IniFileName);
  ini.WriteInteger(IniSection, "Left", Placement.Left);
  ini.WriteInteger(IniSection, "Top", Placement.Top);
  ini.WriteInteger(IniSection, "Width", Placement.Width);
  ini.WriteInteger(IniSection, "Height", Placement.Height);
  ini.WriteBool(IniSection, "Maximized", Placement.Maximized);
}

}  // namespace ui
