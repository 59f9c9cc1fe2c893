// Zeravu's main window on a Screen that shows nothing: the host's launch on an address database
// up to a usable record list, and how opening and walking grows with the database, each beside
// raw SQLite reading the same rows in the same process.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "devtools/bench/address_database.h"
#include "devtools/bench/compare.h"
#include "devtools/bench/scratch_folder.h"
#include "devtools/bench/screenful.h"
#include "devtools/bench/zeravu_window.h"

namespace bench {

namespace {

constexpr int kRecords = 100000;
constexpr int kTickedPercent = 30;
const std::string kRawRead = "raw SQLite: open, read every row and column";

// A fresh Zeravu for every timed run: made before it and dropped before the next one is made,
// both untimed, as the host starts Zeravu anew each time.
class TLaunches {
 public:
  explicit TLaunches(std::string database) : FDatabase(std::move(database)) {}

  TSide Side(std::function<std::size_t(TZeravu&)> flow) {
    return {[this, flow] { return flow(*FCurrent); },
            [this] {
              FCurrent.reset();
              FCurrent = std::make_unique<TZeravu>(FFolder.Path(), FDatabase);
            }};
  }
  TZeravu& Current() { return *FCurrent; }
  void Drop() { FCurrent.reset(); }

 private:
  TScratchFolder FFolder;
  std::string FDatabase;
  std::unique_ptr<TZeravu> FCurrent;
};

// Our flow and the raw read on the same database; the flow must end on the last of all records.
void Compare(benchmark::State& state, const std::string& database,
             std::function<std::size_t(TZeravu&)> flow) {
  TLaunches launches(database);
  const TSide ours = launches.Side(std::move(flow));
  const TSide base = {[&database] { return RawOpenAndRead(database); }};
  ours.Prepare();
  ours.Run();
  const dbengine::TADOTable& table = launches.Current().dm.adoTblMember;
  if (Agree(state, table.RecordCount() == state.range(0),
            "the record list does not hold every record") &&
      Agree(state, table.RecNo() == table.RecordCount(), "the jump did not reach the last record"))
    CompareSides(state, base, ours);
  launches.Drop();
}

void Usable(benchmark::State& state) {
  Describe(state,
           "main window usable: open " + Thousands(kRecords) +
               " records (tmActTimer mode 1), paint a screenful, jump to the last record",
           kRawRead);
  GoalMs(state, 300);
  Compare(state, AddressDatabase(kRecords, kTickedPercent), OpenAndShowLast);
}

void OpenAndWalkBySize(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  Describe(state,
           "open and walk " + Thousands(records) +
               " records: tmActTimer, every shown cell through the grid model",
           kRawRead);
  GoalRatio(state, 1.5);
  Compare(state, AddressDatabase(records, kTickedPercent), OpenAndWalk);
}

void RecordListReads(benchmark::State& state) {
  Describe(state,
           "record list painting the first and the last screenful of " + Thousands(kRecords) +
               " records",
           std::to_string(kRecordListRows) + " rows each");
  TScratchFolder folder;
  TZeravu zeravu(folder.Path(), AddressDatabase(kRecords, kTickedPercent));
  zeravu.Start();
  TCountingGrid grid(zeravu.screen, zeravu.main.wwDBGMember);
  for (auto _ : state) {
    zeravu.main.wwDBNav.BtnClick(ui::TNavigateBtn::nbFirst);
    benchmark::DoNotOptimize(PaintRows(grid, 0, kRecordListRows));
    zeravu.main.wwDBNav.BtnClick(ui::TNavigateBtn::nbLast);
    benchmark::DoNotOptimize(PaintRows(grid, grid.RowCount() - kRecordListRows, kRecordListRows));
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["reads"] = static_cast<double>(grid.Reads()) / iterations;
  state.counters["cells"] = 2 * ScreenfulCells(grid, kRecordListRows);
}

}  // namespace

void RegisterBenchmarks() {
  benchmark::RegisterBenchmark("MainWindowUsable", Usable)
      ->Arg(kRecords)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(Rounds(10));
  benchmark::RegisterBenchmark("RecordListReads", RecordListReads)->Iterations(1);
  const std::pair<int, int> sizes[] = {{1000, 40}, {100000, 6}, {1000000, 2}};
  for (auto [records, rounds] : sizes) {
    // A quick run leaves out the million records: making and opening them is the long part.
    if (Quick() && records > kRecords) continue;
    benchmark::RegisterBenchmark("OpenAndWalk", OpenAndWalkBySize)
        ->Arg(records)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(Rounds(rounds));
  }
}

}  // namespace bench
