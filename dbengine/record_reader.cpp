#include "dbengine/record_reader.h"

#include <cctype>
#include <map>

namespace dbengine {
namespace {

bool IsIntegerType(const char* declared) {
  std::string upper;
  for (const char* c = declared; c != nullptr && *c != '\0'; ++c)
    if (!std::isspace(static_cast<unsigned char>(*c)))
      upper += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return upper == "INTEGER";
}

// Whether a table's key is a single column (only then does INTEGER PRIMARY KEY alias the rowid).
bool HasSingleColumnKey(sqlite3* db, const char* schema, const char* table) {
  Statement count(db, "SELECT count(*) FROM pragma_table_info(?1, ?2) WHERE pk > 0");
  sqlite3_bind_text(count.Handle(), 1, table, -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(count.Handle(), 2, schema, -1, SQLITE_TRANSIENT);
  return count.Step() && sqlite3_column_int(count.Handle(), 0) == 1;
}

}  // namespace

RecordReader::RecordReader(sqlite3* db, const std::string& sql, bool firstColumnIsRowId)
    : FStatement(db, sql),
      FFirstColumn(firstColumnIsRowId ? 1 : 0),
      FColumnCount(sqlite3_column_count(FStatement.Handle())) {
  DescribeColumns(db);
}

void RecordReader::DescribeColumns(sqlite3* db) {
  sqlite3_stmt* statement = FStatement.Handle();
  std::map<std::string, bool> singleKey;  // per table, asked once
  for (int i = FFirstColumn; i < FColumnCount; ++i) {
    ColumnInfo column;
    column.Name = sqlite3_column_name(statement, i);
    const char* schema = sqlite3_column_database_name(statement, i);
    const char* table = sqlite3_column_table_name(statement, i);
    const char* origin = sqlite3_column_origin_name(statement, i);
    const char* declared = sqlite3_column_decltype(statement, i);
    bool rowIdKey = false;
    if (table != nullptr && origin != nullptr) {
      int primaryKey = 0;
      int autoIncrement = 0;
      if (sqlite3_table_column_metadata(db, schema, table, origin, &declared, nullptr, nullptr,
                                        &primaryKey, &autoIncrement) == SQLITE_OK &&
          primaryKey != 0 && IsIntegerType(declared)) {
        const std::string key = std::string(schema) + '.' + table;
        auto it = singleKey.find(key);
        if (it == singleKey.end())
          it = singleKey.emplace(key, HasSingleColumnKey(db, schema, table)).first;
        rowIdKey = autoIncrement != 0 || it->second;
      }
    }
    column.Def = FieldDefFromDeclaredType(declared != nullptr ? declared : "", rowIdKey);
    FColumns.push_back(std::move(column));
  }
}

bool RecordReader::Read(Record& into) {
  if (!FStatement.Step()) return false;
  sqlite3_stmt* statement = FStatement.Handle();
  into.RowId = FFirstColumn > 0 ? sqlite3_column_int64(statement, 0) : 0;
  for (int i = FFirstColumn; i < FColumnCount; ++i) {
    switch (sqlite3_column_type(statement, i)) {
      case SQLITE_INTEGER:
        FBuilder.AddInteger(sqlite3_column_int64(statement, i));
        break;
      case SQLITE_FLOAT:
        FBuilder.AddFloat(sqlite3_column_double(statement, i));
        break;
      case SQLITE_TEXT: {
        const unsigned char* text = sqlite3_column_text(statement, i);
        FBuilder.AddText(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, i)));
        break;
      }
      case SQLITE_BLOB: {
        const void* blob = sqlite3_column_blob(statement, i);
        FBuilder.AddBlob(blob, static_cast<std::size_t>(sqlite3_column_bytes(statement, i)));
        break;
      }
      default:
        FBuilder.AddNull();
        break;
    }
  }
  into.Values = FBuilder.Build();
  return true;
}

}  // namespace dbengine
