#include "dbengine/statement.h"

#include <cctype>

#include "dbengine/errors.h"

namespace dbengine {

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
  const int rc = sqlite3_step(FHandle);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(FHandle);
  ThrowSqliteError(FDb, rc);
}

void Statement::Reset() {
  sqlite3_reset(FHandle);
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

}  // namespace dbengine
