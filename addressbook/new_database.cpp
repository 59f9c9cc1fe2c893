#include "addressbook/new_database.h"

#include <optional>

#include "dbengine/database_creation.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/staged_file.h"

namespace addressbook {

NewDatabaseResult BuildNewDatabase(Tdm& dm, const std::string& path) {
  std::optional<platform::StagedFile> replacement;
  if (platform::FileExists(path)) replacement.emplace(path);
  const std::string file = replacement ? replacement->Path() : path;

  NewDatabaseResult result;
  result.Requests = dm.CreateMDBFile(path, file);
  if (!result.Requests) {
    result.Step = NewDatabaseStep::DriverFailed;
  } else if (!platform::FileExists(file)) {
    result.Step = NewDatabaseStep::NoFile;
  } else if (!dm.CreateTables(file, platform::FileNamePart(path))) {
    platform::DeleteFile(file);
    result.Step = NewDatabaseStep::TablesFailed;
  } else if (replacement) {
    dbengine::SettleInterruptedTransaction(path);
    replacement->Commit();
  }
  return result;
}

}  // namespace addressbook
