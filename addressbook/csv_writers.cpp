#include "addressbook/csv_writers.h"

#include <vector>

#include "dbengine/dataset.h"
#include "platform/cp949.h"

namespace addressbook {

const char* const kLabelQuery =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec WHERE 선택=TRUE;";
const char* const kAllLabelRowsQuery =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec;";

namespace {

// Appends the value, quoted with its quotes doubled when it holds a comma, a quote or a line break.
void AppendQuotedIfNeeded(std::string& line, const std::string& value) {
  if (value.find_first_of(",\"\r\n") == std::string::npos) {
    line += value;
    return;
  }
  line += '"';
  for (char c : value) {
    line += c;
    if (c == '"') line += '"';
  }
  line += '"';
}

// The host reads one record per line and knows no quoting: a line break inside a value would
// forge further labels, and a NUL ends the host's text early, so each of them becomes one space.
void AppendOnOneLine(std::string& line, const std::string& value) {
  for (char c : value) line += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
}

// A line is gathered in UTF-8 and converted once: commas and line feeds are the same bytes in
// both encodings, and one conversion a line costs far less than one a value.
void WriteLine(std::ostream& out, const std::string& utf8Line) {
  out << platform::ToCp949(utf8Line);
}

}  // namespace

bool IsLeftOutOfSpreadsheet(const std::string& columnName) {
  return columnName == "ID" || columnName == "GID" || columnName == "SDATE" || columnName == "ZIP2";
}

void WriteSpreadsheetCsv(dbengine::TDataSet& table, std::ostream& out, SpreadsheetRows rows) {
  // Looked up before anything is written: without the tick nothing says which records go.
  dbengine::TField* tick = rows == SpreadsheetRows::Ticked ? &table.FieldByName("선택") : nullptr;
  std::vector<int> columns;
  std::string line;
  for (int i = 0; i < table.FieldCount(); ++i) {
    if (IsLeftOutOfSpreadsheet(table.Fields(i).FieldName())) continue;
    columns.push_back(i);
    AppendQuotedIfNeeded(line, table.Fields(i).FieldName());
    line += ',';
  }
  line += '\n';
  WriteLine(out, line);

  table.First();
  const int count = table.RecordCount();
  for (int n = 0; n < count; ++n) {
    if (rows == SpreadsheetRows::All || tick->AsBoolean()) {
      line.clear();
      for (int i : columns) {
        AppendQuotedIfNeeded(line, table.Fields(i).AsString());
        line += ',';
      }
      line += '\n';
      WriteLine(out, line);
    }
    table.Next();
  }
}

void WriteLabelRows(dbengine::TDataSet& query, std::ostream& out) {
  const int last = query.FieldCount() - 1;
  std::string line;
  for (int i = 0; i <= last; ++i) {
    AppendOnOneLine(line, query.Fields(i).FieldName());
    line += i < last ? ',' : '\n';
  }
  WriteLine(out, line);
  query.First();
  while (!query.Eof()) {
    line.clear();
    for (int i = 0; i <= last; ++i) {
      AppendOnOneLine(line, query.Fields(i).AsString());
      line += i < last ? ',' : '\n';
    }
    WriteLine(out, line);
    query.Next();
  }
}

}  // namespace addressbook
