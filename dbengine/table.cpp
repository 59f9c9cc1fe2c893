#include "dbengine/table.h"

#include <cctype>
#include <sstream>

#include "dbengine/errors.h"
#include "dbengine/jet_sql.h"
#include "dbengine/record_reader.h"
#include "dbengine/table_rows.h"
#include "dbengine/table_source.h"

namespace dbengine {
namespace {

std::string Trim(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator))
    if (!Trim(part).empty()) parts.push_back(Trim(part));
  return parts;
}

bool EndsWithWord(const std::string& text, const char* word, std::string& rest) {
  const std::string suffix = std::string(" ") + word;
  if (text.size() <= suffix.size()) return false;
  const std::string tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(tail[i])) != static_cast<unsigned char>(suffix[i]))
      return false;
  rest = Trim(text.substr(0, text.size() - suffix.size()));
  return true;
}

std::string Unbracketed(const std::string& name) {
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
    return name.substr(1, name.size() - 2);
  return name;
}

struct SortKey {
  std::string Field;
  bool Descending;
};

// "name [ASC|DESC], ..." as sort keys.
std::vector<SortKey> SortKeys(const std::string& sort) {
  std::vector<SortKey> keys;
  for (const std::string& item : Split(sort, ',')) {
    std::string rest;
    if (EndsWithWord(item, "DESC", rest))
      keys.push_back({Unbracketed(rest), true});
    else if (EndsWithWord(item, "ASC", rest))
      keys.push_back({Unbracketed(rest), false});
    else
      keys.push_back({Unbracketed(item), false});
  }
  return keys;
}

std::vector<std::string> IndexFields(const std::string& indexFieldNames) {
  std::vector<std::string> fields;
  for (const std::string& field : Split(indexFieldNames, ';')) fields.push_back(Unbracketed(field));
  return fields;
}

// Brackets, not double quotes: SQLite would take an unknown name in double quotes for a text
// constant and sort by nothing instead of reporting the missing field.
std::string ColumnReference(const std::string& field) {
  return field.find(']') == std::string::npos ? "[" + field + "]" : QuotedIdentifier(field);
}

// The keys, then the rowid, so that ties keep insertion order; and all of it reversed.
void Order(const std::vector<SortKey>& keys, std::string& order, std::string& reversed) {
  for (const SortKey& key : keys) {
    const std::string column = ColumnReference(key.Field);
    order += column + (key.Descending ? " DESC, " : ", ");
    reversed += column + (key.Descending ? ", " : " DESC, ");
  }
  order += "rowid";
  reversed += "rowid DESC";
}

}  // namespace

RowSelection TADOTable::Selection(TADOConnection& connection) const {
  if (Trim(TableName).empty()) throw EDatabaseError("The table has no name.");
  const std::vector<std::string> indexFields = IndexFields(IndexFieldNames);
  if (!indexFields.empty() && !connection.ReadOnly())
    EnsureOrderIndex(connection.Handle(), TableName, indexFields);
  std::vector<SortKey> keys;
  if (!FSort.empty())
    keys = SortKeys(FSort);
  else
    for (const std::string& field : indexFields) keys.push_back({field, false});
  RowSelection selection;
  selection.Table = QuotedIdentifier(TableName);
  if (!FFilter.empty()) selection.Condition = TranslateJetSql(FFilter);
  selection.Parameters = FFilterParameters;
  Order(keys, selection.OrderBy, selection.ReversedOrderBy);
  return selection;
}

std::unique_ptr<RowSource> TADOTable::StaticRows(TADOConnection& connection, int pageSize) {
  return std::make_unique<TableSource>(connection.Handle(), TableName, Selection(connection),
                                       pageSize);
}

std::unique_ptr<RecordReader> TADOTable::RowStream(TADOConnection& connection) {
  const RowSelection selection = Selection(connection);
  std::string sql = SelectRowsStatement(TableName);
  if (!selection.Condition.empty()) sql += " WHERE (" + selection.Condition + ")";
  auto reader = std::make_unique<RecordReader>(connection.Handle(),
                                               sql + " ORDER BY " + selection.OrderBy, true);
  reader->Query().Bind(selection.Parameters);
  return reader;
}

void TADOTable::SetSort(const std::string& sort) {
  RequireActive();
  for (const SortKey& key : SortKeys(sort)) RequireFieldIndex(key.Field);
  const std::string previous = FSort;
  FSort = Trim(sort);
  try {
    ReadRowsAgain();
  } catch (...) {
    FSort = previous;
    throw;
  }
}

void TADOTable::SetFilter(const std::string& condition, TParameters parameters) {
  std::string previous = FFilter;
  TParameters previousParameters = FFilterParameters;
  FFilter = Trim(condition);
  FFilterParameters = std::move(parameters);
  if (!Active()) return;
  try {
    ReadRowsAgain();
  } catch (...) {
    FFilter = std::move(previous);
    FFilterParameters = std::move(previousParameters);
    throw;
  }
}

}  // namespace dbengine
