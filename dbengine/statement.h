#pragma once

// Internal to this layer: one statement of a storage (a database file, a database server), as the
// readers, cursors and datasets above it prepare, bind, step and read it. Each storage has its
// own class behind this one; nothing above it calls SQLite or libpq itself.

#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/field_def.h"
#include "dbengine/row_buffer.h"

namespace dbengine {

class TParameters;

// A column of a statement's result and what its declaration says of the field showing it.
struct ColumnInfo {
  std::string Name;
  TFieldDef Def;
};

// How long a statement's rows are read for, which tells a server how to deliver them.
enum class TReading : std::uint8_t {
  // A page, a count: few rows, read whole at once.
  Few,
  // Any number of rows, all read (or given up) and the statement reset before the layer's call
  // that began reading returns.
  WithinCall,
  // Any number of rows read over many calls (a forward-only walk), with other statements and
  // changes of the same connection in between.
  AcrossCalls,
};

// A prepared statement; the text holds a single statement. A statement that has stepped may hold
// a lock or a cursor of its storage until it is done or reset, so every user resets it once it
// has what it needs.
class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  virtual ~Statement() = default;

  // True while a row is available; false when the statement is done, and again on every call
  // until Reset.
  virtual bool Step() = 0;
  // Ready to run again from the start; the bindings stay.
  virtual void Reset() = 0;
  // By position, 1-based.
  virtual void Bind(int index, const CellView& value) = 0;
  void BindInteger(int index, std::int64_t value) {
    Bind(index, CellView{CellKind::Integer, value, 0, {}});
  }
  // Binds each :name placeholder to the parameter of that name. A placeholder without one is an
  // error, so that a misspelt name never quietly reads as null.
  virtual void Bind(const TParameters& parameters) = 0;

  virtual int ColumnCount() const = 0;
  // The value of a column of the current row, valid until the next Step or Reset.
  virtual CellView Column(int index) const = 0;
  // The values of `count` columns from `first` on: what reading every field of a row asks, in
  // one call.
  virtual void Columns(int first, int count, CellView* into) const = 0;
  std::int64_t ColumnInteger(int index) const { return Column(index).Integer; }
  // The columns from `first` on: names, and field kinds from the declared types of the table
  // columns they show.
  virtual std::vector<ColumnInfo> DescribeColumns(int first) const = 0;
  // Whether giving the rows in the order asked for needs a sort of its own: no index gives it.
  virtual bool Sorted() const = 0;
};

// Resets a statement when it goes out of scope, so that no lock or cursor outlives the reading,
// even when the reading ends in an error.
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
