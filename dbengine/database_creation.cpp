#include "dbengine/database_creation.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "dbengine/database_file.h"
#include "dbengine/errors.h"
#include "dbengine/sqlite_statement.h"

namespace dbengine {
namespace {

// Marks files this layer created; nothing depends on it when opening.
constexpr int kApplicationId = 0x5A415A56;

void WriteHeader(const std::string& path) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) {
    const std::string pragma = "PRAGMA application_id = " + std::to_string(kApplicationId);
    rc = sqlite3_exec(db, pragma.c_str(), nullptr, nullptr, nullptr);
  }
  if (rc != SQLITE_OK) {
    const std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close_v2(db);
    throw EDatabaseError("Cannot create the database file '" + path + "': " + detail, rc);
  }
  sqlite3_close_v2(db);
}

}  // namespace

void CreateEmptyDatabase(const std::string& path) {
  // O_EXCL: an existing file (or a link planted there) is never taken over.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    const int error = errno;
    throw EDatabaseError("Cannot create the database file '" + path + "': " + std::strerror(error));
  }
  ::close(fd);
  try {
    WriteHeader(path);
    CheckDatabaseFile(path);
  } catch (...) {
    ::unlink(path.c_str());
    throw;
  }
}

void SettleInterruptedTransaction(const std::string& path) {
  const std::string journal = path + "-journal";
  if (::access(journal.c_str(), F_OK) != 0) return;
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  // Reading the schema plays a hot journal back first.
  if (rc == SQLITE_OK)
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  const std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  sqlite3_close_v2(db);
  if (rc == SQLITE_NOTADB) {
    ::unlink(journal.c_str());
  } else if (rc != SQLITE_OK) {
    throw EDatabaseError("Cannot replace the database file '" + path + "': " + detail, rc);
  }
}

}  // namespace dbengine
