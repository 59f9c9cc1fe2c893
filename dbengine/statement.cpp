#include "dbengine/statement.h"

#include <cctype>
#include <map>

#include "dbengine/errors.h"
#include "dbengine/parameters.h"

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
  return count.Step() && count.ColumnInteger(0) == 1;
}

void BindValue(sqlite3_stmt* statement, int index, const TParamValue& value) {
  switch (value.Kind()) {
    case TParamValue::TKind::Null:
      sqlite3_bind_null(statement, index);
      break;
    case TParamValue::TKind::Integer:
      sqlite3_bind_int64(statement, index, value.Integer());
      break;
    case TParamValue::TKind::Float:
      sqlite3_bind_double(statement, index, value.Float());
      break;
    case TParamValue::TKind::Text:
      sqlite3_bind_text64(statement, index, value.Text().data(), value.Text().size(),
                          SQLITE_TRANSIENT, SQLITE_UTF8);
      break;
  }
}

}  // namespace

void ThrowSqliteError(sqlite3* db, int code) {
  const std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  switch (code & 0xff) {
    case SQLITE_READONLY:
      throw EDatabaseError("The database is read-only; it cannot be changed (" + detail + ")",
                           code);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw EDatabaseError("The database is locked by another user (" + detail + ")", code);
    default:
      throw EDatabaseError(detail, code);
  }
}

Statement::Statement(sqlite3* db, const std::string& sql) : FDb(db) {
  const char* tail = nullptr;
  const int rc =
      sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()) + 1, &FHandle, &tail);
  if (rc != SQLITE_OK) ThrowSqliteError(db, rc);
  if (FHandle == nullptr) throw EDatabaseError("The statement is empty");
  for (; tail != nullptr && *tail != '\0'; ++tail) {
    if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') {
      sqlite3_finalize(FHandle);
      throw EDatabaseError("Only one statement can run at a time: " + sql);
    }
  }
}

Statement::~Statement() {
  sqlite3_finalize(FHandle);
}

bool Statement::Step() {
  if (FDone) return false;
  const int rc = sqlite3_step(FHandle);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) {
    FDone = true;
    return false;
  }
  sqlite3_reset(FHandle);
  ThrowSqliteError(FDb, rc);
}

void Statement::Reset() {
  sqlite3_reset(FHandle);
  FDone = false;
}

void Statement::BindInteger(int index, std::int64_t value) {
  sqlite3_bind_int64(FHandle, index, value);
}

void Statement::Bind(int index, const CellView& value) {
  switch (value.Kind) {
    case CellKind::Null:
      sqlite3_bind_null(FHandle, index);
      break;
    case CellKind::Integer:
      sqlite3_bind_int64(FHandle, index, value.Integer);
      break;
    case CellKind::Float:
      sqlite3_bind_double(FHandle, index, value.Float);
      break;
    case CellKind::Text:
      sqlite3_bind_text(FHandle, index, value.Bytes.empty() ? "" : value.Bytes.data(),
                        static_cast<int>(value.Bytes.size()), SQLITE_TRANSIENT);
      break;
    case CellKind::Blob:
      sqlite3_bind_blob(FHandle, index, value.Bytes.data(), static_cast<int>(value.Bytes.size()),
                        SQLITE_TRANSIENT);
      break;
  }
}

void Statement::Bind(const TParameters& parameters) {
  const int count = sqlite3_bind_parameter_count(FHandle);
  for (int index = 1; index <= count; ++index) {
    const char* placeholder = sqlite3_bind_parameter_name(FHandle, index);
    if (placeholder == nullptr) continue;  // a bare '?': left null
    const std::string name = placeholder + 1;
    const TParameter* parameter = parameters.FindParam(name);
    if (parameter == nullptr) throw EDatabaseError("Parameter '" + name + "' has no value");
    BindValue(FHandle, index, parameter->Value);
  }
}

int Statement::ColumnCount() const {
  return sqlite3_column_count(FHandle);
}

CellView Statement::Column(int index) const {
  // One lookup of the column, then its value read directly: the connection is used by one thread
  // only, so the value needs none of the per-call locking the column functions do.
  sqlite3_value* value = sqlite3_column_value(FHandle, index);
  CellView cell;
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      cell.Kind = CellKind::Integer;
      cell.Integer = sqlite3_value_int64(value);
      break;
    case SQLITE_FLOAT:
      cell.Kind = CellKind::Float;
      cell.Float = sqlite3_value_double(value);
      break;
    case SQLITE_TEXT: {
      cell.Kind = CellKind::Text;
      const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
      cell.Bytes = std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)));
      break;
    }
    case SQLITE_BLOB: {
      cell.Kind = CellKind::Blob;
      const auto* blob = static_cast<const char*>(sqlite3_value_blob(value));
      const auto size = static_cast<std::size_t>(sqlite3_value_bytes(value));
      cell.Bytes = size == 0 ? std::string_view() : std::string_view(blob, size);
      break;
    }
    default:
      break;
  }
  return cell;
}

std::int64_t Statement::ColumnInteger(int index) const {
  return sqlite3_column_int64(FHandle, index);
}

std::vector<ColumnInfo> Statement::DescribeColumns(int first) const {
  std::vector<ColumnInfo> columns;
  std::map<std::string, bool> singleKey;  // per table, asked once
  for (int i = first; i < ColumnCount(); ++i) {
    ColumnInfo column;
    column.Name = sqlite3_column_name(FHandle, i);
    const char* schema = sqlite3_column_database_name(FHandle, i);
    const char* table = sqlite3_column_table_name(FHandle, i);
    const char* origin = sqlite3_column_origin_name(FHandle, i);
    const char* declared = sqlite3_column_decltype(FHandle, i);
    bool rowIdKey = false;
    if (table != nullptr && origin != nullptr) {
      int primaryKey = 0;
      int autoIncrement = 0;
      if (sqlite3_table_column_metadata(FDb, schema, table, origin, &declared, nullptr, nullptr,
                                        &primaryKey, &autoIncrement) == SQLITE_OK &&
          primaryKey != 0 && IsIntegerType(declared)) {
        const std::string key = std::string(schema) + '.' + table;
        auto it = singleKey.find(key);
        if (it == singleKey.end())
          it = singleKey.emplace(key, HasSingleColumnKey(FDb, schema, table)).first;
        rowIdKey = autoIncrement != 0 || it->second;
      }
    }
    column.Def = FieldDefFromDeclaredType(declared != nullptr ? declared : "", rowIdKey);
    columns.push_back(std::move(column));
  }
  return columns;
}

bool Statement::Sorted() const {
  return sqlite3_stmt_status(FHandle, SQLITE_STMTSTATUS_SORT, 0) > 0;
}

std::int64_t Statement::LastInsertRowId() const {
  return sqlite3_last_insert_rowid(FDb);
}

int Statement::Changes() const {
  return sqlite3_changes(FDb);
}

}  // namespace dbengine
