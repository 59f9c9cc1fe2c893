#include "addressbook/new_database.h"

#include <optional>

#include "addressbook/data_module.h"
#include "dbengine/database_creation.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/staged_file.h"

namespace addressbook {

TNewDatabase BuildNewDatabase(Tdm& dm, const std::string& path) {
  std::optional<platform::StagedFile> replacement;
  if (platform::FileExists(path)) replacement.emplace(path);
  const std::string file = replacement ? replacement->Path() : path;

  if (!dm.CreateMDBFile(path, file)) return TNewDatabase::DriverFailed;
  if (!platform::FileExists(file)) return TNewDatabase::NoFile;
  if (!dm.CreateTables(file, platform::FileNamePart(path))) {
    platform::DeleteFile(file);
    return TNewDatabase::TablesFailed;
  }
  if (replacement) {
    dbengine::SettleInterruptedTransaction(path);
    replacement->Commit();
  }
  return TNewDatabase::Created;
}

}  // namespace addressbook
