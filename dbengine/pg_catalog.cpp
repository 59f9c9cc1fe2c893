#include "dbengine/pg_catalog.h"

#include <cctype>

#include "dbengine/errors.h"
#include "dbengine/names.h"
#include "dbengine/pg_session.h"

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

PgValues Values(std::initializer_list<std::string> texts) {
  PgValues values;
  int number = 0;
  for (const std::string& text : texts) values.SetText(++number, text);
  return values;
}

// Types a key may have: smallint, integer, bigint.
constexpr const char* kIntegerTypes = "(20, 21, 23)";

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

TPgRelation PgCatalog::Relation(const std::string& name) {
  const std::string spelling = Spelling(name);
  const PgValues quoted = Values({QuotedIdentifier(spelling.empty() ? name : spelling)});
  const PgResult found = FSession.Run(
      "SELECT c.oid, c.oid::regclass::text, n.nspname, c.relkind, c.relname "
      "FROM pg_catalog.pg_class c "
      "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
      "WHERE c.oid = pg_catalog.to_regclass($1)",
      &quoted);
  if (PQntuples(found.get()) == 0) throw EDatabaseError("no such table: " + name);
  TPgRelation relation;
  relation.Id = static_cast<Oid>(std::stoul(Text(found, 0, 0)));
  relation.Name = Text(found, 0, 1);
  relation.Schema = Text(found, 0, 2);
  relation.IsView = Text(found, 0, 3) == "v";
  relation.BaseTable = Text(found, 0, 4);
  FindKey(relation);
  return relation;
}

void PgCatalog::FindKey(TPgRelation& relation) {
  const PgValues id = Values({std::to_string(relation.Id)});
  if (!relation.IsView) {
    const PgResult key =
        FSession.Run(std::string("SELECT a.attname FROM pg_catalog.pg_index i "
                                 "JOIN pg_catalog.pg_attribute a ON a.attrelid = i.indrelid "
                                 "AND a.attnum = i.indkey[0] "
                                 "WHERE i.indrelid = $1::oid AND i.indisprimary AND i.indnatts = 1 "
                                 "AND a.atttypid IN ") +
                         kIntegerTypes,
                     &id);
    if (PQntuples(key.get()) != 1) return;
    relation.Key = QuotedIdentifier(Text(key, 0, 0));
    relation.Base = relation.Name;
    relation.BaseKey = relation.Key;
    return;
  }
  // A view shows rows of the tables it reads: its key is the column showing the single-column
  // primary key of one of them, found from what the view's rule depends on.
  const PgResult key = FSession.Run(
      std::string("SELECT DISTINCT b.oid::regclass::text, a.attname, b.relname "
                  "FROM pg_catalog.pg_rewrite r "
                  "JOIN pg_catalog.pg_depend d ON d.classid = 'pg_catalog.pg_rewrite'::regclass "
                  "AND d.objid = r.oid AND d.refclassid = 'pg_catalog.pg_class'::regclass "
                  "JOIN pg_catalog.pg_index i ON i.indrelid = d.refobjid AND i.indisprimary "
                  "AND i.indnatts = 1 AND i.indkey[0] = d.refobjsubid "
                  "JOIN pg_catalog.pg_attribute a ON a.attrelid = d.refobjid "
                  "AND a.attnum = d.refobjsubid "
                  "JOIN pg_catalog.pg_class b ON b.oid = d.refobjid "
                  "WHERE r.ev_class = $1::oid AND r.rulename = '_RETURN' AND a.atttypid IN ") +
          kIntegerTypes +
          " AND EXISTS (SELECT 1 FROM pg_catalog.pg_attribute v WHERE v.attrelid = $1::oid "
          "AND v.attname = a.attname AND v.attnum > 0 AND NOT v.attisdropped)",
      &id);
  if (PQntuples(key.get()) != 1) return;
  relation.Base = Text(key, 0, 0);
  relation.Key = relation.BaseKey = QuotedIdentifier(Text(key, 0, 1));
  relation.BaseTable = Text(key, 0, 2);
}

const PgCatalog::TKnown& PgCatalog::Known(Oid relation) {
  const auto found = FKnown.find(relation);
  if (found != FKnown.end()) return found->second;
  const PgValues id = Values({std::to_string(relation)});
  const PgResult columns = FSession.Run(
      "SELECT a.attname, CASE WHEN t.typtype = 'd' THEN t.typname::text "
      "ELSE pg_catalog.format_type(a.atttypid, a.atttypmod) END, a.attnum "
      "FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_type t ON t.oid = a.atttypid "
      "WHERE a.attrelid = $1::oid AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum",
      &id);
  TKnown known;
  // Numbered as the server numbers them: a dropped column leaves a gap.
  for (int row = 0; row < PQntuples(columns.get()); ++row) {
    const auto number = static_cast<std::size_t>(std::stoi(Text(columns, row, 2)));
    if (known.Columns.size() < number) known.Columns.resize(number);
    known.Columns[number - 1] = {Text(columns, row, 0), Text(columns, row, 1)};
  }
  const PgResult kind =
      FSession.Run("SELECT relkind = 'v' FROM pg_catalog.pg_class WHERE oid = $1::oid", &id);
  TPgRelation shape;
  shape.Id = relation;
  shape.IsView = PQntuples(kind.get()) == 1 && Text(kind, 0, 0) == "t";
  FindKey(shape);
  known.Key = shape.Key;
  return FKnown.emplace(relation, std::move(known)).first->second;
}

std::vector<TPgColumn> PgCatalog::Columns(Oid relation) {
  std::vector<TPgColumn> columns;
  for (const TPgColumn& column : Known(relation).Columns)
    if (!column.Name.empty()) columns.push_back(column);
  return columns;
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
