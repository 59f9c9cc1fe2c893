#pragma once

// Internal to this layer: a statement of a database file, through SQLite.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/statement.h"

namespace dbengine {

// Throws EDatabaseError with SQLite's code and a text for the user (a write to a read-only file
// and a locked file get their own wording).
[[noreturn]] void ThrowSqliteError(sqlite3* db, int code);

// One prepared SQLite statement, finalized with its owner. A statement that has stepped holds the
// file's read lock until it is done or reset.
class SqliteStatement final : public Statement {
 public:
  SqliteStatement(sqlite3* db, const std::string& sql);
  ~SqliteStatement() override;

  sqlite3_stmt* Handle() const { return FHandle; }
  bool Step() override;
  void Reset() override;
  void Bind(int index, const CellView& value) override;
  using Statement::Bind;
  void Bind(const TParameters& parameters) override;

  int ColumnCount() const override;
  CellView Column(int index) const override;
  void Columns(int first, int count, CellView* into) const override {
    for (int i = 0; i < count; ++i) into[i] = Column(first + i);
  }
  std::vector<ColumnInfo> DescribeColumns(int first) const override;
  bool Sorted() const override;

  // Of the connection the statement runs on: the rowid the last insert gave, and the rows the
  // last insert, update or delete changed.
  std::int64_t LastInsertRowId() const;
  int Changes() const;

 private:
  sqlite3* FDb;
  sqlite3_stmt* FHandle = nullptr;
  bool FDone = false;
};

}  // namespace dbengine
