#pragma once

// Internal to this layer: the rows of a table of a database file, each named by its rowid.

#include <sqlite3.h>

#include <string>

#include "dbengine/storage.h"

namespace dbengine {

class SqliteTable final : public TableAccess {
 public:
  // `table` unquoted; `writable` when the file takes changes (and so the index of an order).
  SqliteTable(sqlite3* db, const std::string& table, bool writable);

  std::string OrderTerm(const std::string& column, bool descending) const override;
  void EnsureOrderIndex(const std::vector<std::string>& columns) override;

  std::unique_ptr<Statement> RowsByKeys(int count) override;
  void BindKeys(Statement& statement, const std::vector<std::int64_t>& keys, int count) override;
  std::unique_ptr<Statement> RowsInRange() override;

  std::int64_t InsertRow(const std::vector<std::string>& columns,
                         const std::vector<CellValue>& values,
                         const std::vector<bool>& changed) override;
  void UpdateRow(std::int64_t key, std::optional<std::int64_t> version,
                 const std::vector<std::string>& columns, const std::vector<CellValue>& values,
                 const std::vector<bool>& changed) override;
  void DeleteRow(std::int64_t key, std::optional<std::int64_t> version) override;

 private:
  sqlite3* FDb;
  std::string FName;
  bool FWritable;
};

}  // namespace dbengine
