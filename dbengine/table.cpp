#include "dbengine/table.h"

#include <cctype>
#include <sstream>

#include "dbengine/errors.h"
#include "dbengine/query_source.h"
#include "dbengine/record_reader.h"
#include "dbengine/storage.h"
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

std::string Joined(const std::vector<std::string>& terms) {
  std::string joined;
  for (const std::string& term : terms) joined += (joined.empty() ? "" : ", ") + term;
  return joined;
}

// The keys, then the row's key, so that ties keep insertion order; and all of it reversed. Rows
// without a key keep whatever order ties come in.
void Order(const TableAccess& table, const std::vector<SortKey>& keys, std::string& order,
           std::string& reversed) {
  std::vector<std::string> forward;
  std::vector<std::string> backward;
  for (const SortKey& key : keys) {
    forward.push_back(table.OrderTerm(key.Field, key.Descending));
    backward.push_back(table.OrderTerm(key.Field, !key.Descending));
  }
  if (!table.Key().empty()) {
    forward.push_back(table.Key());
    backward.push_back(table.Key() + " DESC");
  }
  order = Joined(forward);
  reversed = Joined(backward);
}

}  // namespace

RowSelection TADOTable::Selection(Storage& storage, TableAccess& table) const {
  const std::vector<std::string> indexFields = IndexFields(IndexFieldNames);
  if (!indexFields.empty()) table.EnsureOrderIndex(indexFields);
  std::vector<SortKey> keys;
  if (!FSort.empty())
    keys = SortKeys(FSort);
  else
    for (const std::string& field : indexFields) keys.push_back({field, false});
  RowSelection selection;
  selection.Table = table.Table();
  selection.Key = table.Key();
  if (!FFilter.empty()) selection.Condition = storage.Translate(FFilter);
  selection.Parameters = FFilterParameters;
  Order(table, keys, selection.OrderBy, selection.ReversedOrderBy);
  if (FSort.empty() && !indexFields.empty())
    selection.IndexedOrder = table.HasOrderIndex(indexFields);
  return selection;
}

std::unique_ptr<TableAccess> TADOTable::Access(Storage& storage) const {
  if (Trim(TableName).empty()) throw EDatabaseError("The table has no name.");
  return storage.Table(TableName);
}

std::string TADOTable::RowsStatement(const RowSelection& selection) {
  std::string sql = "SELECT * FROM " + selection.Table;
  if (!selection.Condition.empty()) sql += " WHERE (" + selection.Condition + ")";
  if (!selection.OrderBy.empty()) sql += " ORDER BY " + selection.OrderBy;
  return sql;
}

std::unique_ptr<RowSource> TADOTable::StaticRows(TADOConnection& connection, int pageSize) {
  Storage& storage = connection.Data();
  std::unique_ptr<TableAccess> table = Access(storage);
  RowSelection selection = Selection(storage, *table);
  // Rows without a key cannot be found again one by one: they read as a query's do.
  if (table->Key().empty())
    return std::make_unique<QuerySource>(storage, RowsStatement(selection), selection.Parameters,
                                         pageSize);
  return std::make_unique<TableSource>(storage, std::move(table), std::move(selection), pageSize);
}

std::unique_ptr<RecordReader> TADOTable::RowStream(TADOConnection& connection) {
  Storage& storage = connection.Data();
  const std::unique_ptr<TableAccess> table = Access(storage);
  const RowSelection selection = Selection(storage, *table);
  auto reader = std::make_unique<RecordReader>(
      storage.Prepare(RowsStatement(selection), TReading::AcrossCalls), TLeading::None);
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
