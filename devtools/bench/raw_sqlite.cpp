#include "devtools/bench/raw_sqlite.h"

#include <stdexcept>

namespace bench {

void FailRaw(sqlite3* db, const std::string& what) {
  throw std::runtime_error(what + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
}

TRawDatabase::TRawDatabase(const std::string& path, int flags) {
  if (sqlite3_open_v2(path.c_str(), &FDb, flags, nullptr) != SQLITE_OK) {
    const std::string message = FDb != nullptr ? sqlite3_errmsg(FDb) : "out of memory";
    sqlite3_close_v2(FDb);
    throw std::runtime_error("open " + path + ": " + message);
  }
}

TRawDatabase::~TRawDatabase() {
  sqlite3_close_v2(FDb);
}

void TRawDatabase::Exec(const std::string& sql) {
  if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) FailRaw(FDb, sql);
}

TRawStatement::TRawStatement(sqlite3* db, const std::string& sql) : FDb(db) {
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &FStatement, nullptr) != SQLITE_OK)
    FailRaw(db, "prepare " + sql);
}

TRawStatement::~TRawStatement() {
  sqlite3_finalize(FStatement);
}

bool TRawStatement::Step() {
  const int rc = sqlite3_step(FStatement);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  FailRaw(FDb, "step");
}

void TRawStatement::Reset() {
  sqlite3_reset(FStatement);
  sqlite3_clear_bindings(FStatement);
}

TRawWalk RawWalk(sqlite3* db, const std::string& sql) {
  TRawStatement statement(db, sql);
  sqlite3_stmt* s = statement.Handle();
  const int columns = statement.ColumnCount();
  TRawWalk walk;
  while (statement.Step()) {
    ++walk.Rows;
    for (int i = 0; i < columns; ++i) {
      switch (sqlite3_column_type(s, i)) {
        case SQLITE_INTEGER:
          walk.Sum += static_cast<std::size_t>(sqlite3_column_int64(s, i));
          break;
        case SQLITE_FLOAT:
          walk.Sum += static_cast<std::size_t>(sqlite3_column_double(s, i));
          break;
        case SQLITE_TEXT:
          walk.Sum +=
              static_cast<std::size_t>(sqlite3_column_bytes(s, i)) + sqlite3_column_text(s, i)[0];
          break;
        default:
          break;
      }
    }
  }
  return walk;
}

}  // namespace bench
