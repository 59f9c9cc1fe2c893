#pragma once

// Internal to this layer: the only place besides its .cpp files that sees SQLite's API.

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "dbengine/row_buffer.h"

namespace dbengine {

// Throws EDatabaseError with SQLite's code and a text for the user (a write to a read-only file
// and a locked file get their own wording).
[[noreturn]] void ThrowSqliteError(sqlite3* db, int code);

// One prepared statement, finalized with its owner. The text must hold a single statement.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql);
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  sqlite3_stmt* Handle() const { return FHandle; }
  // True while a row is available; false when the statement is done.
  bool Step();
  void Reset();
  void Bind(int index, const CellView& value);
  void BindInteger(int index, std::int64_t value);

 private:
  sqlite3* FDb;
  sqlite3_stmt* FHandle = nullptr;
};

}  // namespace dbengine
