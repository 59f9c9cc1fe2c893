#pragma once

// Internal to this layer: what a storage on a database server knows of the database's tables,
// read from the server's catalogue and kept until a statement of this connection changes them.

#include <libpq-fe.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dbengine/field_def.h"

namespace dbengine {

class PgSession;

// A table or view as the storage reads and changes its rows.
struct TPgRelation {
  Oid Id = 0;
  // As statements name it (in quotes where needed, with its schema where the path does not
  // find it).
  std::string Name;
  std::string Schema;
  bool IsView = false;
  // The column naming each row: a table's single-column integer primary key; for a view made
  // by MakeColumnPerUser, the key of the table <view>_shared that holds its rows. Empty when
  // there is none.
  std::string Key;
  // Where a row's version is read and locked: the table itself, or the view's <view>_shared.
  std::string Base;
  std::string BaseKey;
  // The name of that table alone, unquoted.
  std::string BaseTable;
  // The names of the indexes of the tables holding the rows.
  std::vector<std::string> Indexes;
};

// A column of a table or view, in the table's order.
struct TPgColumn {
  std::string Name;
  // The declared type: the domain's name for a domain (yesno, datetime, longtext), else the
  // type as the server writes it ("character varying(32)", "integer").
  std::string Type;
  // The number of the type the server gives its values in (a domain's base type).
  Oid ValueType = 0;
  // The column's number in its table.
  int Number = 0;
};

class PgCatalog {
 public:
  explicit PgCatalog(PgSession& session) : FSession(session) {}

  // The name a table or column of the schemas on the search path has, when one matches `name`
  // without regard to ASCII case (and no other does); empty otherwise.
  std::string Spelling(const std::string& name);
  // The table or view with this name (its spelling found as above); EDatabaseError when there is
  // no such table.
  TPgRelation Relation(const std::string& name);
  std::vector<TPgColumn> Columns(Oid relation);
  // The name of a column of the relation spelt as the relation spells it: exactly, else without
  // regard to ASCII case; as given when no column (or more than one) matches.
  std::string ColumnSpelling(Oid relation, const std::string& name);
  // What the column with this number of this table or view says of the field showing it.
  TFieldDef Field(Oid relation, int column);
  // Forgets everything read, after the tables changed or the connection was made again.
  void Forget();

 private:
  struct TKnown {
    std::vector<TPgColumn> Columns;
    std::string Key;
  };
  const TKnown& Known(Oid relation);
  // Reads a relation and its columns, found by `which` (a statement's beginning naming it by its
  // $1); a relation with Id 0 when there is none.
  TPgRelation Read(const std::string& which, const std::string& value);

  PgSession& FSession;
  std::optional<std::map<std::string, std::string>> FSpellings;
  std::map<Oid, TKnown> FKnown;
};

}  // namespace dbengine
