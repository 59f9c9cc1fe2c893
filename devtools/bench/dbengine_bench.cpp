// Opening and walking an address list through the data layer, beside the raw SQLite C API doing
// the same prepare / step / read of every column, in the same process and on the same file.

#include <benchmark/benchmark.h>

#include <string>

#include "addressbook/csv_writers.h"
#include "dbengine/connection.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "devtools/bench/address_database.h"
#include "devtools/bench/compare.h"
#include "devtools/bench/raw_sqlite.h"

namespace bench {

namespace {

constexpr int kRecords = 100000;
constexpr int kTickedPercent = 30;
// What the table and the label query run once translated; the raw side runs the same text.
constexpr const char* kRawTableSql = "SELECT rowid, * FROM \"addr_rec\" ORDER BY [GID], rowid";
constexpr const char* kRawLabelSql =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec WHERE 선택=1";

// Our side: every field of every row as text, the way the grid and the exports read them.
std::size_t OurWalk(dbengine::TDataSet& dataSet) {
  dataSet.Open();
  std::size_t sum = 0;
  const int fields = dataSet.FieldCount();
  for (; !dataSet.Eof(); dataSet.Next())
    for (int i = 0; i < fields; ++i) sum += dataSet.Fields(i).AsString().size();
  dataSet.Close();
  return sum;
}

std::size_t RowsOf(dbengine::TDataSet& dataSet) {
  dataSet.Open();
  std::size_t rows = 0;
  for (; !dataSet.Eof(); dataSet.Next()) ++rows;
  dataSet.Close();
  return rows;
}

TSide Raw(const TRawDatabase& raw, const char* sql) {
  return {[&raw, sql] {
    const TRawWalk walk = RawWalk(raw.Handle(), sql);
    return walk.Rows + walk.Sum;
  }};
}

// Both sides read the same rows of the same file.
void Compare(benchmark::State& state, const TRawDatabase& raw, const char* rawSql,
             dbengine::TDataSet& ours) {
  if (!Agree(state, RowsOf(ours) == RawWalk(raw.Handle(), rawSql).Rows,
             "the data layer and raw SQLite read different rows"))
    return;
  CompareSides(state, Raw(raw, rawSql), {[&ours] { return OurWalk(ours); }});
}

// The spreadsheet export's path: the table opened, every record from the first to the end, every
// field of each. A million records must cost at most 1.3 times what SQLite alone does.
void TableOpenAndWalk(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const std::string path = AddressDatabase(records, kTickedPercent);
  TRawDatabase raw(path);
  dbengine::TADOConnection conn;
  conn.ConnectionString = dbengine::JetConnectionString(path);
  conn.Open();
  dbengine::TADOTable table;
  table.Connection = &conn;
  table.TableName = "addr_rec";
  table.IndexFieldNames = "GID";
  Describe(state,
           "data layer: table of " + Thousands(records) +
               " records, open and walk every field (the spreadsheet export's path)",
           "raw SQLite: prepare, step, read every column");
  GoalRatio(state, records >= 1000000 ? 1.3 : 1.5);
  Compare(state, raw, kRawTableSql, table);
}

void LabelQueryForwardOnly(benchmark::State& state) {
  const std::string path = AddressDatabase(kRecords, kTickedPercent);
  TRawDatabase raw(path);
  dbengine::TADOConnection conn;
  conn.ConnectionString = dbengine::JetConnectionString(path);
  conn.Open();
  dbengine::TADOQuery query;
  query.Connection = &conn;
  query.CursorType = dbengine::ctOpenForwardOnly;
  query.LockType = dbengine::ltReadOnly;
  query.SQL.Add(addressbook::kLabelQuery);
  Describe(state, "data layer: label query, forward-only, " + Thousands(kRecords) + " records",
           "raw SQLite: the same statement");
  GoalRatio(state, 1.5);
  Compare(state, raw, kRawLabelSql, query);
}

}  // namespace

void RegisterBenchmarks() {
  benchmark::RegisterBenchmark("TableOpenAndWalk", TableOpenAndWalk)
      ->Arg(kRecords)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(Rounds(10));
  // A quick run leaves out the million records.
  if (!Quick())
    benchmark::RegisterBenchmark("TableOpenAndWalk", TableOpenAndWalk)
        ->Arg(1000000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(Rounds(3));
  benchmark::RegisterBenchmark("LabelQueryForwardOnly", LabelQueryForwardOnly)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(Rounds(20));
}

}  // namespace bench
