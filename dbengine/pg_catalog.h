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
  // The column naming each row: a table's single-column integer primary key, or for a view the
  // column showing the primary key of the one table it reads it from. Empty when there is none.
  std::string Key;
  // Where a row's version is read and locked: the table itself, or that table of a view.
  std::string Base;
  std::string BaseKey;
  // The name of that table alone, unquoted.
  std::string BaseTable;
};

// A column of a table or view, in the table's order.
struct TPgColumn {
  std::string Name;
  // The declared type: the domain's name for a domain (yesno, datetime, longtext), else the
  // type as the server writes it ("character varying(32)", "integer").
  std::string Type;
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
  void FindKey(TPgRelation& relation);

  PgSession& FSession;
  std::optional<std::map<std::string, std::string>> FSpellings;
  std::map<Oid, TKnown> FKnown;
};

}  // namespace dbengine
