#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <string>

namespace bench {

// The baseline side of a comparison: the SQLite C API with nothing of ours in between. Every
// failure throws, so a baseline that did not do its work never gets timed.
class TRawDatabase {
 public:
  explicit TRawDatabase(const std::string& path, int flags = SQLITE_OPEN_READONLY);
  ~TRawDatabase();
  TRawDatabase(const TRawDatabase&) = delete;
  TRawDatabase& operator=(const TRawDatabase&) = delete;

  sqlite3* Handle() const { return FDb; }
  void Exec(const std::string& sql);

 private:
  sqlite3* FDb = nullptr;
};

class TRawStatement {
 public:
  TRawStatement(sqlite3* db, const std::string& sql);
  ~TRawStatement();
  TRawStatement(const TRawStatement&) = delete;
  TRawStatement& operator=(const TRawStatement&) = delete;

  sqlite3_stmt* Handle() const { return FStatement; }
  int ColumnCount() const { return sqlite3_column_count(FStatement); }
  // True on a row, false when done.
  bool Step();
  // Ready to run again with other bindings.
  void Reset();

 private:
  sqlite3* FDb;
  sqlite3_stmt* FStatement = nullptr;
};

[[noreturn]] void FailRaw(sqlite3* db, const std::string& what);

// What stepping through a statement read: its rows, and a sum over every value so that the
// reading cannot be left out.
struct TRawWalk {
  std::size_t Rows = 0;
  std::size_t Sum = 0;
};

// Prepares the statement, steps through every row and reads every column as its own kind.
TRawWalk RawWalk(sqlite3* db, const std::string& sql);

}  // namespace bench
