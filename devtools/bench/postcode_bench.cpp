// The postcode lookup on the national list (read at run time from the shared data folder, never
// kept in the repository), beside raw SQLite running the same statements on the same file.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "devtools/bench/address_database.h"
#include "devtools/bench/compare.h"
#include "devtools/bench/raw_sqlite.h"
#include "devtools/bench/scratch_folder.h"
#include "devtools/bench/screenful.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "postcode/zip_search.h"
#include "postcodedb/zip_database.h"
#include "ui/testing/scripted_screen.h"

namespace bench {

namespace {

constexpr const char* kListName = "zipcode-kr-6digit.cp949.csv";
constexpr const char* kSearched = "신";
// What the search and the whole-table listing run once translated; the raw side runs the same.
constexpr const char* kSearchSql =
    "SELECT 우편번호,주소 FROM zip WHERE 읍면동 like '%신%' ORDER BY 우편번호";
constexpr const char* kWholeTableSql = "SELECT rowid, * FROM \"zip\" ORDER BY rowid";

// The lookup form on a postcode database built from the national list, as both programs find it
// beside their executable; made once for all the benchmarks here.
struct TLookup {
  TScratchFolder folder;
  std::string absent;                  // why there is nothing to measure; empty when there is
  ui::testing::ScriptedScreen screen;  // expects nothing; anything shown means a broken flow
  std::unique_ptr<postcode::TFZipSearch> form;
  std::unique_ptr<TRawDatabase> raw;
  std::size_t tableRows = 0;

  TLookup() {
    const std::string list = std::string(ZARIZE_SHARED_DATA_DIR) + "/" + kListName;
    if (!platform::FileExists(list)) {
      absent = "the postcode list " + list + " is absent";
      return;
    }
    const std::string executableFolder = folder / "bin";
    const std::string database = postcode::ZipDBPathBeside(executableFolder);
    std::filesystem::create_directories(platform::FolderPart(database));
    postcodedb::BuildZipDatabase(list, database);
    form = std::make_unique<postcode::TFZipSearch>(screen, executableFolder);
    form->FormCreate();
    if (!screen.Shown().empty()) {
      absent = "the lookup showed \"" + screen.Shown().front().Text + "\" when it was made";
      return;
    }
    raw = std::make_unique<TRawDatabase>(database);
    tableRows = RawWalk(raw->Handle(), kWholeTableSql).Rows;
  }

  // Skips the benchmark with a message when the list is absent.
  bool Present(benchmark::State& state) {
    if (!absent.empty()) state.SkipWithError(absent.c_str());
    return absent.empty();
  }

  // The listing's size for the table; unknown without the list.
  std::string Rows() const {
    return tableRows > 0 ? Thousands(static_cast<long long>(tableRows)) : "all";
  }

  TSide Raw(const char* sql) {
    return {[this, sql] {
      const TRawWalk walk = RawWalk(raw->Handle(), sql);
      return walk.Rows + walk.Sum;
    }};
  }
};

TLookup& Lookup() {
  static TLookup lookup;
  return lookup;
}

void Search(benchmark::State& state) {
  TLookup& l = Lookup();
  Describe(state, std::string("postcode search for \"") + kSearched + "\": sbDongClick",
           "raw SQLite: the same statement, every row fetched");
  GoalRatio(state, 1.5);
  if (!l.Present(state)) return;
  postcode::TFZipSearch& form = *l.form;
  const TSide ours = {[&form] {
                        form.edIn.SetText(kSearched);
                        form.sbDongClick();
                        return static_cast<std::size_t>(form.DQ1.RecordCount());
                      },
                      [&form] { form.DQ1.Close(); }};
  ours.Run();
  const std::size_t found = static_cast<std::size_t>(form.DQ1.RecordCount());
  if (Agree(state, l.screen.Shown().empty(), "the search showed a message") &&
      Agree(state, form.HasRows() && found == RawWalk(l.raw->Handle(), kSearchSql).Rows,
            "the search and raw SQLite found different rows"))
    CompareSides(state, l.Raw(kSearchSql), ours);
}

void WholeTable(benchmark::State& state) {
  TLookup& l = Lookup();
  Describe(state, "whole-table listing: spbAllClick, " + l.Rows() + " rows, first screenful read",
           "raw SQLite: the table's statement, every row and column read");
  GoalMs(state, 100);
  if (!l.Present(state)) return;
  postcode::TFZipSearch& form = *l.form;
  // FormShow closes the listing, as every showing of the dialog does.
  const TSide ours = {[&form] {
                        form.spbAllClick();
                        return PaintRows(form.wwDBGrid1, 0, kPostcodeGridRows);
                      },
                      [&form] { form.FormShow(); }};
  ours.Run();
  if (Agree(state, l.screen.Shown().empty(), "the listing showed a message") &&
      Agree(state, static_cast<std::size_t>(form.ADOT.RecordCount()) == l.tableRows,
            "the listing does not hold the whole table"))
    CompareSides(state, l.Raw(kWholeTableSql), ours);
}

void ListingReads(benchmark::State& state) {
  TLookup& l = Lookup();
  Describe(
      state,
      "postcode grid painting the first and the last screenful of the " + l.Rows() + "-row listing",
      std::to_string(kPostcodeGridRows) + " rows each");
  if (!l.Present(state)) return;
  l.form->FormShow();
  l.form->spbAllClick();
  TCountingGrid grid(l.screen, l.form->wwDBGrid1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(PaintRows(grid, 0, kPostcodeGridRows));
    benchmark::DoNotOptimize(
        PaintRows(grid, grid.RowCount() - kPostcodeGridRows, kPostcodeGridRows));
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["reads"] = static_cast<double>(grid.Reads()) / iterations;
  state.counters["cells"] = 2 * ScreenfulCells(grid, kPostcodeGridRows);
}

}  // namespace

void RegisterBenchmarks() {
  benchmark::RegisterBenchmark("PostcodeSearch", Search)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(Rounds(40));
  benchmark::RegisterBenchmark("PostcodeWholeTable", WholeTable)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(Rounds(20));
  benchmark::RegisterBenchmark("PostcodeGridReads", ListingReads)->Iterations(1);
}

}  // namespace bench
