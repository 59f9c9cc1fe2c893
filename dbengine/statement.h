#pragma once

// Internal to this layer: the seam to SQLite's statements. Everything above it (readers, cursors,
// datasets) prepares, binds, steps and reads through this class and never calls SQLite itself.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/field_def.h"
#include "dbengine/row_buffer.h"

namespace dbengine {

class TParameters;

// Throws EDatabaseError with SQLite's code and a text for the user (a write to a read-only file
// and a locked file get their own wording).
[[noreturn]] void ThrowSqliteError(sqlite3* db, int code);

// A column of a statement's result and what its declaration says of the field showing it.
struct ColumnInfo {
  std::string Name;
  TFieldDef Def;
};

// One prepared statement, finalized with its owner. The text must hold a single statement.
// A statement that has stepped holds the file's read lock until it is done or reset, so every
// user resets it once it has what it needs.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql);
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  sqlite3_stmt* Handle() const { return FHandle; }
  // True while a row is available; false when the statement is done, and again on every call
  // until Reset (SQLite itself would start over).
  bool Step();
  // Ready to run again from the start; the bindings stay.
  void Reset();
  void Bind(int index, const CellView& value);
  void BindInteger(int index, std::int64_t value);
  // Binds each :name placeholder to the parameter of that name. A placeholder without one is an
  // error, so that a misspelt name never quietly reads as null.
  void Bind(const TParameters& parameters);

  int ColumnCount() const;
  // The value of a column of the current row, valid until the next Step or Reset.
  CellView Column(int index) const;
  std::int64_t ColumnInteger(int index) const;
  // The columns from `first` on: names, and field kinds from the declared types of the table
  // columns they show.
  std::vector<ColumnInfo> DescribeColumns(int first) const;
  // Whether stepping needed a sort of its own: no index gave the rows in the order asked for.
  bool Sorted() const;

  // Of the connection the statement runs on: the rowid the last insert gave, and the rows the
  // last insert, update or delete changed.
  std::int64_t LastInsertRowId() const;
  int Changes() const;

 private:
  sqlite3* FDb;
  sqlite3_stmt* FHandle = nullptr;
  bool FDone = false;
};

// Resets a statement when it goes out of scope, so that no read lock outlives the reading, even
// when the reading ends in an error.
class ResetAtEnd {
 public:
  explicit ResetAtEnd(Statement& statement) : FStatement(statement) {}
  ResetAtEnd(const ResetAtEnd&) = delete;
  ResetAtEnd& operator=(const ResetAtEnd&) = delete;
  ~ResetAtEnd() { FStatement.Reset(); }

 private:
  Statement& FStatement;
};

}  // namespace dbengine
