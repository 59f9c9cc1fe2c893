#include "zeravu/csv_writers.h"

#include <vector>

#include "dbengine/dataset.h"
#include "platform/cp949.h"

namespace zeravu {

const char* const kLabelQuery =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec WHERE 선택=TRUE;";
const char* const kAllLabelRowsQuery =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec;";

namespace {

std::string QuotedIfNeeded(const std::string& value) {
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (char c : value) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace

bool IsLeftOutOfSpreadsheet(const std::string& columnName) {
  return columnName == "ID" || columnName == "GID" || columnName == "SDATE" || columnName == "ZIP2";
}

void WriteSpreadsheetCsv(dbengine::TDataSet& table, std::ostream& out, TSpreadsheetRows rows) {
  std::vector<int> columns;
  for (int i = 0; i < table.FieldCount(); ++i) {
    if (IsLeftOutOfSpreadsheet(table.Fields(i).FieldName())) continue;
    columns.push_back(i);
    out << platform::ToCp949(QuotedIfNeeded(table.Fields(i).FieldName())) << ',';
  }
  out << '\n';

  table.First();
  dbengine::TField* tick = table.FindField("선택");
  const int count = table.RecordCount();
  for (int n = 0; n < count; ++n) {
    if (rows == TSpreadsheetRows::All || (tick && tick->AsBoolean())) {
      for (int i : columns) {
        out << platform::ToCp949(QuotedIfNeeded(table.Fields(i).AsString())) << ',';
      }
      out << '\n';
    }
    table.Next();
  }
}

void WriteLabelRows(dbengine::TDataSet& query, std::ostream& out) {
  const int last = query.FieldCount() - 1;
  for (int i = 0; i <= last; ++i) {
    out << platform::ToCp949(query.Fields(i).FieldName()) << (i < last ? ',' : '\n');
  }
  query.First();
  while (!query.Eof()) {
    for (int i = 0; i <= last; ++i) {
      out << platform::ToCp949(query.Fields(i).AsString()) << (i < last ? ',' : '\n');
    }
    query.Next();
  }
}

}  // namespace zeravu
