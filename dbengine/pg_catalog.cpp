#include "dbengine/pg_catalog.h"

#include <algorithm>
#include <cctype>

#include "dbengine/errors.h"
#include "dbengine/pg_session.h"
#include "dbengine/quoting.h"
#include "platform/ascii_case.h"

namespace dbengine {
namespace {

std::string AsciiLower(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string Text(const PgResult& result, int row, int column) {
  return PQgetisnull(result.get(), row, column) ? std::string()
                                                : PQgetvalue(result.get(), row, column);
}

// The relation asked about: by its number, or by its name spelt exactly (another spelling is
// looked for only when that finds none).
constexpr const char* kByOid = "$1::oid";
constexpr const char* kByName = "pg_catalog.to_regclass(pg_catalog.quote_ident($1))";
constexpr const char* kByNameInAnyCase =
    "(SELECT c.oid FROM unnest(pg_catalog.current_schemas(false)) WITH ORDINALITY AS p(nspname, "
    "ord) JOIN pg_catalog.pg_namespace n ON n.nspname = p.nspname "
    "JOIN pg_catalog.pg_class c ON c.relnamespace = n.oid "
    "WHERE c.relkind IN ('r', 'v', 'p', 'm', 'f') "
    "AND pg_catalog.lower(c.relname) = pg_catalog.lower($1) ORDER BY p.ord LIMIT 1)";

// The table that holds the rows of relation c: itself, or for a view made by MakeColumnPerUser
// the table <view>_shared beside it.
constexpr const char* kHolder =
    "CASE WHEN c.relkind = 'v' THEN pg_catalog.to_regclass(pg_catalog.quote_ident(n.nspname) || "
    "'.' || pg_catalog.quote_ident(c.relname || '_shared')) ELSE c.oid END";

// The relation, the table holding its rows, that table's single-column integer primary key and
// the names of its indexes (an array).
std::string RelationStatement(const std::string& which) {
  return std::string(
             "SELECT c.oid, c.oid::regclass::text, n.nspname, c.relkind, "
             "h.oid::regclass::text, h.relname, a.attname, ARRAY(SELECT ic.relname "
             "FROM pg_catalog.pg_index hi JOIN pg_catalog.pg_class ic "
             "ON ic.oid = hi.indexrelid WHERE hi.indrelid = h.oid)::text "
             "FROM pg_catalog.pg_class c "
             "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
             "LEFT JOIN pg_catalog.pg_class h ON h.oid = ") +
         kHolder +
         " LEFT JOIN pg_catalog.pg_index i ON i.indrelid = h.oid AND i.indisprimary "
         "AND i.indnatts = 1 LEFT JOIN pg_catalog.pg_attribute a ON a.attrelid = h.oid "
         "AND a.attnum = i.indkey[0] AND a.atttypid IN (20, 21, 23) WHERE c.oid = " +
         which;
}

// Its columns: the number, the name, the declared type (a domain by its own name) and the type
// of the values.
std::string ColumnsStatement(const std::string& which) {
  return "SELECT a.attnum, a.attname, CASE WHEN t.typtype = 'd' THEN t.typname::text "
         "ELSE pg_catalog.format_type(a.atttypid, a.atttypmod) END, "
         "CASE WHEN t.typtype = 'd' THEN t.typbasetype ELSE a.atttypid END "
         "FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_type t ON t.oid = a.atttypid "
         "WHERE a.attnum > 0 AND NOT a.attisdropped AND a.attrelid = " +
         which + " ORDER BY a.attnum";
}

// The elements of an array as the server writes it ({a,"b c",d}): quoted where they hold
// blanks, commas, braces, quotes or backslashes, with backslashes before quotes and backslashes.
std::vector<std::string> ArrayElements(const std::string& array) {
  std::vector<std::string> elements;
  std::size_t at = 1;
  while (at + 1 < array.size()) {
    std::string element;
    if (array[at] == '"') {
      for (++at; at < array.size() && array[at] != '"'; ++at) {
        if (array[at] == '\\') ++at;
        if (at < array.size()) element += array[at];
      }
      ++at;
    } else {
      while (at < array.size() && array[at] != ',' && array[at] != '}') element += array[at++];
    }
    elements.push_back(element);
    ++at;  // the comma, or the closing brace
  }
  return elements;
}

}  // namespace

std::string PgCatalog::Spelling(const std::string& name) {
  if (!FSpellings) {
    const PgResult names = FSession.Run(
        "SELECT c.relname::text FROM pg_catalog.pg_class c "
        "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
        "WHERE n.nspname = ANY (pg_catalog.current_schemas(false)) "
        "AND c.relkind IN ('r', 'v', 'p', 'm', 'f') "
        "UNION SELECT a.attname::text FROM pg_catalog.pg_attribute a "
        "JOIN pg_catalog.pg_class c ON c.oid = a.attrelid "
        "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
        "WHERE n.nspname = ANY (pg_catalog.current_schemas(false)) "
        "AND c.relkind IN ('r', 'v', 'p', 'm', 'f') AND a.attnum > 0 AND NOT a.attisdropped");
    FSpellings.emplace();
    for (int row = 0; row < PQntuples(names.get()); ++row) {
      const std::string spelling = Text(names, row, 0);
      // Two names that differ only in case: neither is meant more than the other.
      const auto [at, added] = FSpellings->emplace(AsciiLower(spelling), spelling);
      if (!added && at->second != spelling) at->second.clear();
    }
  }
  const auto found = FSpellings->find(AsciiLower(name));
  return found == FSpellings->end() ? std::string() : found->second;
}

TPgRelation PgCatalog::Read(const std::string& which, const std::string& value) {
  PgValues given;
  given.SetText(1, value);
  const std::vector<PgResult> read =
      FSession.RunTogether({{RelationStatement(which), &given}, {ColumnsStatement(which), &given}});
  const PgResult& shape = read[0];
  TPgRelation relation;
  if (PQntuples(shape.get()) == 0) return relation;
  relation.Id = static_cast<Oid>(std::stoul(Text(shape, 0, 0)));
  relation.Name = Text(shape, 0, 1);
  relation.Schema = Text(shape, 0, 2);
  relation.IsView = Text(shape, 0, 3) == "v";
  TKnown known;
  const PgResult& columns = read[1];
  // Numbered as the server numbers them: a dropped column leaves a gap.
  for (int row = 0; row < PQntuples(columns.get()); ++row) {
    const auto number = static_cast<std::size_t>(std::stoi(Text(columns, row, 0)));
    if (known.Columns.size() < number) known.Columns.resize(number);
    known.Columns[number - 1] = {Text(columns, row, 1), Text(columns, row, 2),
                                 static_cast<Oid>(std::stoul(Text(columns, row, 3))),
                                 static_cast<int>(number)};
  }
  // The rows are named by the key of the table holding them, when the relation shows it.
  const std::string key = Text(shape, 0, 6);
  const bool shown = std::any_of(known.Columns.begin(), known.Columns.end(),
                                 [&key](const TPgColumn& column) { return column.Name == key; });
  if (!key.empty() && shown) {
    relation.Base = Text(shape, 0, 4);
    relation.BaseTable = Text(shape, 0, 5);
    relation.Key = relation.BaseKey = QuotedIdentifier(key);
    relation.Indexes = ArrayElements(Text(shape, 0, 7));
  }
  known.Key = relation.Key;
  FKnown[relation.Id] = std::move(known);
  return relation;
}

TPgRelation PgCatalog::Relation(const std::string& name) {
  TPgRelation relation = Read(kByName, name);
  if (relation.Id == 0) relation = Read(kByNameInAnyCase, name);
  if (relation.Id == 0) throw EDatabaseError("no such table: " + name);
  return relation;
}

const PgCatalog::TKnown& PgCatalog::Known(Oid relation) {
  if (FKnown.find(relation) == FKnown.end()) Read(kByOid, std::to_string(relation));
  return FKnown[relation];
}

std::vector<TPgColumn> PgCatalog::Columns(Oid relation) {
  std::vector<TPgColumn> columns;
  for (const TPgColumn& column : Known(relation).Columns)
    if (!column.Name.empty()) columns.push_back(column);
  return columns;
}

std::string PgCatalog::ColumnSpelling(Oid relation, const std::string& name) {
  for (const TPgColumn& column : Known(relation).Columns)
    if (!column.Name.empty() && column.Name == name) return column.Name;
  std::string found;
  for (const TPgColumn& column : Known(relation).Columns) {
    if (column.Name.empty() || !platform::SameText(column.Name, name)) continue;
    if (!found.empty()) return name;  // neither is meant more than the other
    found = column.Name;
  }
  return found.empty() ? name : found;
}

TFieldDef PgCatalog::Field(Oid relation, int column) {
  const TKnown& known = Known(relation);
  if (column < 1 || static_cast<std::size_t>(column) > known.Columns.size()) return {};
  const TPgColumn& shown = known.Columns[static_cast<std::size_t>(column - 1)];
  // The key names each row, as a file's INTEGER PRIMARY KEY does: an auto-number to the fields.
  return FieldDefFromDeclaredType(shown.Type, QuotedIdentifier(shown.Name) == known.Key);
}

void PgCatalog::Forget() {
  FSpellings.reset();
  FKnown.clear();
}

}  // namespace dbengine
