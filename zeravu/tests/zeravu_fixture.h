#pragma once

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "addressbook/data_module.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "postcode/zip_search.h"
#include "ui/event_guard.h"
#include "ui/testing/scripted_screen.h"
#include "zeravu/entry_form.h"
#include "zeravu/main_form.h"

namespace zeravu::testing {

inline const std::string kToken = "(갑)";

// Scratch folders for the executable, the documents and the temporary folder, a scripted
// Screen, the data module and the main window, as Zeravu's start-up makes them.
class ZeravuFixture {
 public:
  ZeravuFixture() {
    mkdir(ExeDir().c_str(), 0777);
    mkdir(DocsDir().c_str(), 0777);
    mkdir(TempDir().c_str(), 0777);
  }

  std::string ExeDir() const { return dir.Path("bin"); }
  std::string DocsDir() const { return dir.Path("docs"); }
  std::string TempDir() const { return dir.Path("tmp"); }
  std::string AddressDir() const { return DocsDir() + "/ZARIZE/DB/Address"; }
  std::string SettingsPath() const { return ExeDir() + "/zeder.INI"; }

  TEnvironment Environment(std::vector<std::string> args) const {
    TEnvironment env;
    env.Args = std::move(args);
    env.ExecutableFolder = ExeDir();
    env.DocumentsFolder = DocsDir();
    env.TempFolder = TempDir();
    return env;
  }

  // Makes the main window and runs its creation event, as start-up does.
  TFMain& Start(std::vector<std::string> args) {
    main = std::make_unique<TFMain>(screen, dm, FAddrInfoIn, Environment(std::move(args)));
    main->FormCreate();
    return *main;
  }

  // An address database made the way the new-database flow makes it, with these records
  // (name, address, ticked) stored.
  struct Record {
    std::string Name;
    std::string Address;
    bool Ticked = true;
  };
  std::string MakeAddressDatabase(const std::string& path, const std::vector<Record>& records = {});
  // Stores the records in the address database (or list on a server) at path.
  static void FillAddressDatabase(const std::string& path, const std::vector<Record>& records);
  // The names of the records of the address database at path, read with a data module of their
  // own; a failed test and nothing when it does not open as one.
  std::vector<std::string> StoredNames(const std::string& path) const;
  // The postcode database beside the executable, from these UTF-8 rows "우편번호,주소,읍면동".
  void MakeZipDatabase(const std::vector<std::string>& rows);

  platform::testing::ScratchDir dir;
  platform::testing::ScopedEnv odbcIni{"ODBCINI", dir.Path("odbc.ini")};
  ui::testing::ScriptedScreen screen;
  Tdm dm;
  postcode::TFZipSearch FZipSearch{screen, ExeDir()};
  TFAddrInfoIn FAddrInfoIn{screen, FZipSearch};
  std::unique_ptr<TFMain> main;
};

// Another Zeravu with a scripted Screen of its own, for tests that run a table of cases.
struct TInstance {
  TInstance(const ZeravuFixture& fixture, std::vector<std::string> args)
      : form(screen, dm, entry, fixture.Environment(std::move(args))) {}
  ui::testing::ScriptedScreen screen;
  Tdm dm;
  postcode::TFZipSearch zip{screen, ""};
  TFAddrInfoIn entry{screen, zip};
  TFMain form;
};

}  // namespace zeravu::testing
