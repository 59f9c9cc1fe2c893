#include "postcodedb/zip_database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace zipdb {

namespace {

std::string Quoted(const std::string& identifier) {
  std::string quoted = "\"";
  for (char c : identifier) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

std::string CreateStatement(const TZipList& list) {
  std::vector<std::size_t> widths(list.Columns.size(), 1);
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    for (std::size_t c = 0; c < widths.size(); ++c) {
      widths[c] = std::max(widths[c], CharCount(list.Cell(row, c)));
    }
  }
  std::string sql = std::string("CREATE TABLE ") + kZipTable + " (";
  for (std::size_t c = 0; c < widths.size(); ++c) {
    if (c > 0) sql += ", ";
    sql += Quoted(list.Columns[c]) + " TEXT(" + std::to_string(widths[c]) + ")";
  }
  return sql + ")";
}

std::string InsertStatement(const TZipList& list) {
  std::string sql = std::string("INSERT INTO ") + kZipTable + " VALUES (";
  for (std::size_t c = 0; c < list.Columns.size(); ++c) sql += c > 0 ? ",?" : "?";
  return sql + ")";
}

class TDatabase {
 public:
  explicit TDatabase(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &FDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
      const std::string message = sqlite3_errmsg(FDb);
      sqlite3_close(FDb);
      throw platform::Exception(message);
    }
  }
  ~TDatabase() { sqlite3_close(FDb); }
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;

  void Exec(const std::string& sql) {
    if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
  }

  void InsertAll(const TZipList& list) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(FDb, InsertStatement(list).c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      Fail();
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> insert(raw, sqlite3_finalize);
    const int columns = static_cast<int>(list.Columns.size());
    for (std::size_t row = 0; row < list.RowCount(); ++row) {
      for (int c = 0; c < columns; ++c) {
        const std::string& value = list.Cell(row, c);
        if (value.empty()) {
          sqlite3_bind_null(raw, c + 1);
        } else {
          sqlite3_bind_text(raw, c + 1, value.data(), static_cast<int>(value.size()),
                            SQLITE_STATIC);
        }
      }
      if (sqlite3_step(raw) != SQLITE_DONE) Fail();
      sqlite3_reset(raw);
    }
  }

 private:
  [[noreturn]] void Fail() { throw platform::Exception(sqlite3_errmsg(FDb)); }

  sqlite3* FDb = nullptr;
};

[[noreturn]] void ThrowErrno(const std::string& what, const std::string& path, int code = errno) {
  throw platform::EInOutError(what + " " + path + ": " + std::strerror(code), code);
}

// A temporary file beside the target that is removed unless it was renamed into place.
class TTempFile {
 public:
  explicit TTempFile(const std::string& target) : FTarget(target), FPath(target + ".XXXXXX") {
    int fd = mkstemp(FPath.data());
    if (fd < 0) ThrowErrno("cannot create a file beside", target);
    // The database is data for every user of the programs, not a private file.
    const int error = fchmod(fd, 0644) == 0 ? 0 : errno;
    close(fd);
    if (error != 0) {
      unlink(FPath.c_str());
      ThrowErrno("cannot share", FPath, error);
    }
  }
  ~TTempFile() {
    if (!FRenamed) unlink(FPath.c_str());
  }
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;

  const std::string& Path() const { return FPath; }

  void RenameIntoPlace() {
    const int fd = open(FPath.c_str(), O_RDONLY);
    if (fd < 0) ThrowErrno("cannot write", FPath);
    const int error = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    if (error != 0) ThrowErrno("cannot write", FPath, error);
    if (rename(FPath.c_str(), FTarget.c_str()) != 0) ThrowErrno("cannot replace", FTarget);
    FRenamed = true;
  }

 private:
  std::string FTarget;
  std::string FPath;
  bool FRenamed = false;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) ThrowErrno("cannot read", path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

void WriteZipDatabase(const TZipList& list, const std::string& path) {
  TTempFile temp(path);
  {
    TDatabase db(temp.Path());
    // The file is thrown away on any failure, so it needs no journal and no syncing until the end.
    db.Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
    db.Exec("BEGIN");
    db.Exec(CreateStatement(list));
    db.InsertAll(list);
    db.Exec("COMMIT");
  }
  temp.RenameIntoPlace();
}

void BuildZipDatabase(const std::string& inputPath, const std::string& outputPath) {
  WriteZipDatabase(ReadZipList(ReadFile(inputPath)), outputPath);
}

}  // namespace zipdb
