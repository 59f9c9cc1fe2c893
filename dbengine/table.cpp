#include "dbengine/table.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "dbengine/errors.h"
#include "dbengine/table_rows.h"

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

}  // namespace

std::string TADOTable::SelectStatement() const {
  if (Trim(TableName).empty()) throw EDatabaseError("The table has no name.");
  // Brackets, not double quotes: SQLite would take an unknown name in double quotes for a text
  // constant and sort by nothing instead of reporting the missing field.
  std::string order;
  for (const std::string& field : Split(IndexFieldNames, ';'))
    order +=
        (field.find(']') == std::string::npos ? "[" + field + "]" : QuotedIdentifier(field)) + ", ";
  return SelectRowsStatement(TableName) + " ORDER BY " + order + "rowid";
}

// "name [ASC|DESC], ..." as sort keys; names without regard to case.
std::vector<TDataSet::SortKey> TADOTable::SortKeys(const std::string& sort) {
  std::vector<SortKey> keys;
  for (const std::string& item : Split(sort, ',')) {
    std::string name = item;
    bool descending = false;
    std::string rest;
    if (EndsWithWord(item, "DESC", rest)) {
      name = rest;
      descending = true;
    } else if (EndsWithWord(item, "ASC", rest)) {
      name = rest;
    }
    keys.push_back({RequireFieldIndex(Unbracketed(name)), descending});
  }
  return keys;
}

void TADOTable::OrderRecords() {
  if (!FSort.empty()) SortRecords(SortKeys(FSort));
}

void TADOTable::SetSort(const std::string& sort) {
  RequireActive();
  CheckBrowseMode();
  std::string keys = sort;
  if (Trim(sort).empty()) {
    keys = IndexFieldNames;
    std::replace(keys.begin(), keys.end(), ';', ',');
  }
  SortRecords(SortKeys(keys));
  FSort = Trim(sort);
  NotifyDataSetChanged();
}

}  // namespace dbengine
