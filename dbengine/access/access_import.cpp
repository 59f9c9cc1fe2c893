#include "dbengine/access/access_import.h"

#include <unistd.h>

#include <memory>

#include "dbengine/database_creation.h"
#include "dbengine/quoting.h"
#include "dbengine/sqlite_statement.h"
#include "platform/ascii_case.h"

namespace dbengine {
namespace {

// The Jet type a column of this kind is declared with, so a field read back knows its kind.
// Every declared type keeps SQLite's conversion of text to numbers away from text columns.
std::string DeclaredType(const TAccessColumn& column) {
  switch (column.Kind) {
    case TAccessKind::Text:
      return column.Size > 0 ? "TEXT(" + std::to_string(column.Size) + ")" : "TEXT";
    case TAccessKind::Memo:
      return "LONGTEXT";
    case TAccessKind::Boolean:
      return "YESNO";
    case TAccessKind::Byte:
      return "BYTE";
    case TAccessKind::Integer:
      return "SHORT";
    case TAccessKind::LongInteger:
      return "LONG";
    case TAccessKind::AutoNumber:
      return "COUNTER";
    case TAccessKind::Currency:
      return "CURRENCY";
    case TAccessKind::Single:
      return "SINGLE";
    case TAccessKind::Double:
      return "DOUBLE";
    case TAccessKind::Numeric:
      return "NUMERIC";
    case TAccessKind::DateTime:
      return "DATETIME";
    case TAccessKind::Binary:
      return "BINARY";
    case TAccessKind::Ole:
      return "LONGBINARY";
    case TAccessKind::Guid:
      return "GUID";
  }
  return "TEXT";
}

// The file format keeps a date without its time of day when that is midnight.
std::string_view StoredDateTime(std::string_view value) {
  constexpr std::string_view kMidnight = " 00:00:00";
  if (value.size() == 19 && value.substr(10) == kMidnight) return value.substr(0, 10);
  return value;
}

bool StartsWithSqlitePrefix(const std::string& name) {
  constexpr std::string_view kReserved = "sqlite_";
  return platform::SameText(std::string_view(name).substr(0, kReserved.size()), kReserved);
}

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;

void Run(sqlite3* db, const std::string& sql) {
  SqliteStatement statement(db, sql);
  while (statement.Step()) {
  }
}

class Importer : public TAccessStreamSink {
 public:
  Importer(sqlite3* db, std::uint64_t maxRows) : FDb(db), FMaxRows(maxRows) {}

  void Table(const TAccessTable& table) override {
    // SQLite keeps names with this prefix for itself; an Access file never uses them.
    if (StartsWithSqlitePrefix(table.Name))
      throw EAccessStreamError("The reader's output is damaged: table name '" + table.Name + "'");
    FInsert.reset();
    std::string create = "CREATE TABLE " + QuotedIdentifier(table.Name) + " (";
    std::string insert = "INSERT INTO " + QuotedIdentifier(table.Name) + " VALUES (";
    FKinds.clear();
    for (const TAccessColumn& column : table.Columns) {
      const bool first = FKinds.empty();
      create += (first ? "" : ", ") + QuotedIdentifier(column.Name) + " " + DeclaredType(column);
      insert += first ? "?" : ", ?";
      FKinds.push_back(column.Kind);
    }
    Run(FDb, create + ")");
    FInsert = std::make_unique<SqliteStatement>(FDb, insert + ")");
    ++FCounts.Tables;
  }

  void Row(const std::vector<TAccessValue>& values) override {
    if (++FCounts.Rows > FMaxRows)
      throw EAccessStreamError("The reader's output holds more than " + std::to_string(FMaxRows) +
                               " rows");
    sqlite3_stmt* insert = FInsert->Handle();
    for (std::size_t i = 0; i < values.size(); ++i) {
      const int index = static_cast<int>(i) + 1;
      std::string_view bytes = values[i].Bytes;
      if (values[i].IsNull) {
        sqlite3_bind_null(insert, index);
      } else if (IsBinaryKind(FKinds[i])) {
        sqlite3_bind_blob64(insert, index, bytes.data(), bytes.size(), SQLITE_STATIC);
      } else {
        // Text goes in as text: the declared type turns yes/no and numbers into numbers.
        if (FKinds[i] == TAccessKind::DateTime) bytes = StoredDateTime(bytes);
        sqlite3_bind_text64(insert, index, bytes.data(), bytes.size(), SQLITE_STATIC, SQLITE_UTF8);
      }
    }
    FInsert->Step();
    FInsert->Reset();
  }

  void Finish() { FInsert.reset(); }
  const TAccessImportCounts& Counts() const { return FCounts; }

 private:
  sqlite3* FDb;
  std::uint64_t FMaxRows;
  std::unique_ptr<SqliteStatement> FInsert;
  std::vector<TAccessKind> FKinds;
  TAccessImportCounts FCounts;
};

TAccessImportCounts Import(TByteSource& source, const std::string& path, std::uint64_t maxRows) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  DatabaseHandle db(raw);
  if (rc != SQLITE_OK) ThrowSqliteError(raw, rc);
  // The file is new and is thrown away on any failure, so it needs no journal.
  Run(db.get(), "PRAGMA journal_mode = OFF");
  Run(db.get(), "PRAGMA synchronous = OFF");
  Run(db.get(), "BEGIN");
  Importer importer(db.get(), maxRows);
  ReadAccessStream(source, importer);
  importer.Finish();
  Run(db.get(), "COMMIT");
  const int closed = sqlite3_close(db.release());
  if (closed != SQLITE_OK) ThrowSqliteError(nullptr, closed);
  return importer.Counts();
}

}  // namespace

TAccessImportCounts ImportAccessStream(TByteSource& source, const std::string& path,
                                       std::uint64_t maxRows) {
  CreateEmptyDatabase(path);
  try {
    return Import(source, path, maxRows);
  } catch (...) {
    ::unlink(path.c_str());
    throw;
  }
}

}  // namespace dbengine
