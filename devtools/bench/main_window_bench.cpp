// Zeravu's main window on a Screen that shows nothing: the host's launch on an address database
// up to a usable record list, and how opening and walking grows with the database, each beside
// raw SQLite reading the same rows in the same process.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "devtools/bench/address_database.h"
#include "devtools/bench/compare.h"
#include "devtools/bench/raw_sqlite.h"
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

  // `before` runs untimed on each fresh Zeravu, ahead of the timed `flow`.
  TSide Side(
      std::function<std::size_t(TZeravu&)> flow,
      std::function<void(TZeravu&)> before = [](TZeravu&) {}) {
    return {[this, flow] { return flow(*FCurrent); },
            [this, before] {
              FCurrent.reset();
              FCurrent = std::make_unique<TZeravu>(FFolder.Path(), FDatabase);
              before(*FCurrent);
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

// The record list's open as the host starts it, up to the first screenful painted.
void OpenFirstScreenful(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  Describe(state,
           "main window open of " + Thousands(records) +
               " records: tmActTimer mode 1, first screenful painted",
           "raw SQLite: open, count the rows, read the first screenful");
  if (records >= 1000000) {
    GoalMs(state, 300);
    GoalRatio(state, 1.5);
  } else {
    GoalMs(state, 50);
  }
  const std::string database = AddressDatabase(records, kTickedPercent);
  TLaunches launches(database);
  const TSide ours = launches.Side(OpenAndShowFirst);
  const TSide base = {[&database] { return RawOpenCountAndScreenful(database); }};
  // Untimed: the first open of a file makes the index of its order, once for all.
  ours.Prepare();
  ours.Run();
  if (Agree(state, launches.Current().dm.adoTblMember.RecordCount() == records,
            "the record list does not count every record"))
    CompareSides(state, base, ours);
  launches.Drop();
}

// From the first screenful to the last: the navigator's last button, that screenful painted.
void JumpToLast(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  Describe(state, "jump to the last of " + Thousands(records) + " records, screenful painted",
           "raw SQLite: the last screenful in the list's order, file open");
  GoalMs(state, 20);
  const std::string database = AddressDatabase(records, kTickedPercent);
  TLaunches launches(database);
  const TSide ours = launches.Side(
      [](TZeravu& zeravu) {
        zeravu.main.wwDBNav.BtnClick(ui::TNavigateBtn::nbLast);
        const ui::TwwDBGrid& grid = zeravu.main.wwDBGMember;
        return PaintRows(grid, grid.RowCount() - kRecordListRows, kRecordListRows);
      },
      [](TZeravu& zeravu) { OpenAndShowFirst(zeravu); });
  TRawDatabase raw(database, SQLITE_OPEN_READWRITE);
  const TSide base = {[&raw] { return RawScreenful(raw.Handle(), 0, true); }};
  ours.Prepare();
  ours.Run();
  const dbengine::TADOTable& table = launches.Current().dm.adoTblMember;
  if (Agree(state, table.RecNo() == records, "the jump did not reach the last record"))
    CompareSides(state, base, ours);
  launches.Drop();
}

// The grid scrolled to a place it has not read before, as a drag of the scroll bar leaves it:
// a screenful painted there, the current record where it was. Each round a place of its own.
void ScrollAnywhere(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  Describe(
      state,
      "scroll anywhere in " + Thousands(records) + " records: a screenful not read before, painted",
      "raw SQLite: that screenful by LIMIT and OFFSET in the list's order, file open");
  GoalMs(state, 20);
  // Places spread over the list by the golden ratio, the same sequence on both sides.
  const auto place = [records](int round) {
    const double fraction = 0.5 + 0.6180339887 * round;
    return static_cast<int>((fraction - static_cast<int>(fraction)) * (records - kRecordListRows));
  };
  const std::string database = AddressDatabase(records, kTickedPercent);
  TLaunches launches(database);
  int oursRound = 0;
  int baseRound = 0;
  const TSide ours = launches.Side(
      [&](TZeravu& zeravu) {
        return PaintRows(zeravu.main.wwDBGMember, place(oursRound), kRecordListRows);
      },
      [&](TZeravu& zeravu) {
        OpenAndShowFirst(zeravu);
        ++oursRound;
      });
  TRawDatabase raw(database, SQLITE_OPEN_READWRITE);
  const TSide base = {[&] { return RawScreenful(raw.Handle(), place(baseRound), false); },
                      [&] { ++baseRound; }};
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
  // A quick run shows the list of 100,000 records where the full run shows a million.
  const int large = Quick() ? kRecords : 1000000;
  std::vector<int> opened = {kRecords};
  if (large != kRecords) opened.push_back(large);
  for (int records : opened)
    benchmark::RegisterBenchmark("OpenFirstScreenful", OpenFirstScreenful)
        ->Arg(records)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(Rounds(10));
  benchmark::RegisterBenchmark("JumpToLast", JumpToLast)
      ->Arg(large)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(Rounds(10));
  benchmark::RegisterBenchmark("ScrollAnywhere", ScrollAnywhere)
      ->Arg(large)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(Rounds(20));
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
