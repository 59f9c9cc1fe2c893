#pragma once

// Internal to this layer: a statement of a database server, through libpq.

#include <libpq-fe.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dbengine/pg_session.h"
#include "dbengine/statement.h"

namespace dbengine {

class PgCatalog;
struct TPgColumn;

// One statement. Its columns are asked of the server when someone wants them before it runs.
// How its rows come depends on how long they are read: few rows whole at once; any number
// through a cursor, fetched in growing batches so that only a batch is held here: within one
// call inside a transaction of its own (ended at Reset), across calls a cursor WITH HOLD, which
// takes no transaction and lets every other statement of the connection commit as usual.
// Opening a cursor (in its own transaction) and fetching its first batch go to the server
// together, in one round trip.
class PgStatement final : public Statement {
 public:
  // `sql` in the server's dialect, with placeholders ?N, ? or :name.
  PgStatement(PgSession& session, PgCatalog& catalog, const std::string& sql, TReading reading);
  ~PgStatement() override;

  bool Step() override;
  void Reset() override;
  void Bind(int index, const CellView& value) override;
  using Statement::Bind;
  void Bind(const TParameters& parameters) override;

  // For a statement whose columns are known without asking the server: the leading columns
  // (whole numbers: a key, a version), then every column of a relation as the catalogue has it.
  void KnowColumns(int leading, Oid relation, const std::vector<TPgColumn>& columns);

  int ColumnCount() const override;
  CellView Column(int index) const override;
  void Columns(int first, int count, CellView* into) const override {
    for (int i = 0; i < count; ++i) into[i] = Column(first + i);
  }
  std::vector<ColumnInfo> DescribeColumns(int first) const override;
  bool Sorted() const override;

 private:
  struct TColumn {
    std::string Name;
    Oid Type;
    int Modifier;
    Oid Table;
    int TableColumn;
    CellKind Kind;
  };

  void Describe(const PGresult* result) const;
  void Start();
  void Fetch();

  PgSession& FSession;
  PgCatalog& FCatalog;
  // For each placeholder $n, the :name it stands for (empty for ?N); made with FSql.
  std::vector<std::string> FNames;
  std::string FSql;
  TReading FReading;
  mutable std::optional<std::vector<TColumn>> FColumns;
  PgValues FValues;

  PgResult FResult;
  int FRow = -1;
  bool FStarted = false;
  bool FDone = false;
  std::string FCursor;
  std::uint64_t FCursorGeneration = 0;
  int FBatch = 0;
  bool FOwnTransaction = false;
  mutable std::optional<bool> FSorted;
  // Bytes of the current row's binary values, decoded.
  mutable std::vector<std::string> FDecoded;
};

}  // namespace dbengine
