#pragma once

// Internal to this layer: the rows of a table (or a view) on a database server, each named by its
// primary key and read with its version.

#include "dbengine/pg_catalog.h"
#include "dbengine/storage.h"

namespace dbengine {

class PgSession;

// A row's version is the transaction that last stored it (the server's xmin) in the table that
// holds it. A change locks the row, compares the version it was read with, and is refused with
// ERecordChanged when another connection stored the row since.
class PgTable final : public TableAccess {
 public:
  PgTable(PgSession& session, PgCatalog& catalog, TPgRelation relation);

  std::string OrderTerm(const std::string& column, bool descending) const override;
  void EnsureOrderIndex(const std::vector<std::string>& columns) override;
  std::optional<bool> HasOrderIndex(const std::vector<std::string>& columns) const override;

  bool Versioned() const override { return !Key().empty(); }
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
  // The name of the index that gives the rows in the order of these columns.
  std::string OrderIndexName(const std::vector<std::string>& columns) const;
  // The statement reading rows with their versions, up to its condition.
  std::string SelectRows() const;
  std::unique_ptr<Statement> Rows(const std::string& condition);
  // Locks the row and checks that it holds `version`: answers false when it is gone.
  bool LockRow(std::int64_t key, std::optional<std::int64_t> version, const char* refusal);

  PgSession& FSession;
  PgCatalog& FCatalog;
  TPgRelation FRelation;
};

// The messages of a change another connection got in before.
inline constexpr const char* kRecordChangedMessage =
    "The record was changed by another user since it was read. Your changes are kept: store "
    "them again to write them over that user's, or cancel to see that user's.";
inline constexpr const char* kDeletedRecordChangedMessage =
    "The record was changed by another user since it was read, and was not deleted: delete it "
    "again to delete it as it is now.";

}  // namespace dbengine
