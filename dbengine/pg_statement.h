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

// One statement, prepared on the server when made (so that its columns are known before it
// runs) and again on a new connection. How its rows come depends on how long they are read:
// few rows whole at once; any number through a cursor, fetched in growing batches so that only a
// batch is held here: within one call inside a transaction of its own (ended at Reset), across
// calls a cursor WITH HOLD, which takes no transaction and lets every other statement of the
// connection commit as usual.
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

  int ColumnCount() const override { return static_cast<int>(FColumns.size()); }
  CellView Column(int index) const override;
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

  void Prepare();
  void Start();
  void Fetch();

  PgSession& FSession;
  PgCatalog& FCatalog;
  // For each placeholder $n, the :name it stands for (empty for ?N); made with FSql.
  std::vector<std::string> FNames;
  std::string FSql;
  TReading FReading;
  std::string FName;
  std::uint64_t FGeneration = 0;
  std::vector<TColumn> FColumns;
  PgValues FValues;

  PgResult FResult;
  int FRow = -1;
  bool FStarted = false;
  bool FDone = false;
  std::string FCursor;
  int FBatch = 0;
  bool FOwnTransaction = false;
  mutable std::optional<bool> FSorted;
  // Bytes of the current row's binary values, decoded.
  mutable std::vector<std::string> FDecoded;
};

}  // namespace dbengine
