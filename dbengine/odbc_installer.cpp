#include "dbengine/odbc_installer.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dbengine/connection_string.h"
#include "dbengine/database_creation.h"
#include "platform/ascii_case.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace dbengine {
namespace {

using Item = std::pair<std::string, std::string>;

thread_local std::string tLastError;

// Ends a request that cannot be carried out, with the reason the error query gives.
class ERequestError : public std::runtime_error {
 public:
  using runtime_error::runtime_error;
};

// "k=v\0k=v\0\0": items up to the first empty one. Answers false for an item without '='.
bool ParseItems(const std::string& attributes, std::vector<Item>& items) {
  std::size_t pos = 0;
  while (pos < attributes.size()) {
    const std::size_t end = std::min(attributes.find('\0', pos), attributes.size());
    const std::string item = attributes.substr(pos, end - pos);
    if (item.empty()) break;
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    items.emplace_back(item.substr(0, equals), item.substr(equals + 1));
    pos = end + 1;
  }
  return true;
}

// The path of CREATE_DB="<path>", quotes inside it doubled; anything after the closing quote (a
// sort order) is ignored. An unquoted value is the path as it is.
std::string CreationPath(const std::string& value) {
  if (value.empty() || value.front() != '"') return value;
  std::string path;
  for (std::size_t i = 1; i < value.size(); ++i) {
    if (value[i] == '"') {
      if (i + 1 == value.size() || value[i + 1] != '"') break;
      ++i;
    }
    path += value[i];
  }
  return path;
}

std::string DataSourceFile() {
  const char* odbcIni = std::getenv("ODBCINI");
  if (odbcIni != nullptr && *odbcIni != '\0') return odbcIni;
  return platform::JoinPath(platform::HomeFolder(), ".odbc.ini");
}

}  // namespace

bool ConfigDataSource(int request, const std::string& driver, const std::string& attributes) {
  tLastError.clear();
  try {
    if (request != ODBC_ADD_DSN && request != ODBC_ADD_SYS_DSN)
      throw ERequestError("request " + std::to_string(request) + " is not known");
    std::vector<Item> items;
    if (!ParseItems(attributes, items)) throw ERequestError("an attribute has no key=value form");
    std::string dsn;
    for (const Item& item : items)
      if (platform::SameText(item.first, "DSN")) dsn = item.second;
    if (dsn.empty()) throw ERequestError("the attributes name no data source (DSN=)");

    for (const Item& item : items)
      if (platform::SameText(item.first, "CREATE_DB"))
        CreateEmptyDatabase(CreationPath(item.second));

    // The file may name where the user's databases are: only the user reads a new one.
    platform::ProfileFile file(DataSourceFile(), 0600);
    file.WriteString(dsn, "Driver", driver);
    for (const Item& item : items)
      if (!platform::SameText(item.first, "DSN") && !platform::SameText(item.first, "CREATE_DB"))
        file.WriteString(dsn, item.first, item.second);
    return true;
  } catch (const std::exception& e) {
    // The installer answers with a flag, as the caller expects of it; the reason waits for the
    // error query.
    tLastError = e.what();
    return false;
  } catch (...) {
    tLastError = "the request failed";
    return false;
  }
}

std::string InstallerError() {
  return tLastError;
}

}  // namespace dbengine
