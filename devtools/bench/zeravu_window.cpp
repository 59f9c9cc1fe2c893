#include "devtools/bench/zeravu_window.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "devtools/bench/raw_sqlite.h"
#include "devtools/bench/screenful.h"

namespace bench {

namespace {

zeravu::TEnvironment Launch(const std::string& folder, const std::string& database) {
  zeravu::TEnvironment environment;
  environment.Args = {"(갑)", "1", database};
  environment.ExecutableFolder = folder + "/bin";
  environment.DocumentsFolder = folder + "/docs";
  environment.TempFolder = folder + "/tmp";
  for (const std::string& made :
       {environment.ExecutableFolder, environment.DocumentsFolder, environment.TempFolder})
    std::filesystem::create_directories(made);
  return environment;
}

}  // namespace

TZeravu::TZeravu(const std::string& folder, const std::string& database)
    : main(screen, dm, entry, Launch(folder, database)) {}

void TZeravu::Start() {
  main.FormCreate();
  main.tmActTimer();
  if (!dm.adoTblMember.Active()) {
    std::fprintf(stderr, "benchmark aborted: the record list did not open %s\n",
                 main.CurrentDatabasePath().c_str());
    std::abort();
  }
  if (!screen.Shown().empty()) {
    std::fprintf(stderr, "benchmark aborted: the start-up showed \"%s\"\n",
                 screen.Shown().front().Text.c_str());
    std::abort();
  }
}

std::size_t OpenAndShowFirst(TZeravu& zeravu) {
  zeravu.Start();
  return PaintRows(zeravu.main.wwDBGMember, 0, kRecordListRows);
}

std::size_t OpenAndShowLast(TZeravu& zeravu) {
  std::size_t bytes = OpenAndShowFirst(zeravu);
  const ui::TwwDBGrid& grid = zeravu.main.wwDBGMember;
  zeravu.main.wwDBNav.BtnClick(ui::TNavigateBtn::nbLast);
  return bytes + PaintRows(grid, grid.RowCount() - kRecordListRows, kRecordListRows);
}

std::size_t OpenAndWalk(TZeravu& zeravu) {
  zeravu.Start();
  const ui::TwwDBGrid& grid = zeravu.main.wwDBGMember;
  const std::size_t bytes = PaintRows(grid, 0, grid.RowCount());
  zeravu.main.wwDBNav.BtnClick(ui::TNavigateBtn::nbLast);
  return bytes;
}

std::size_t RawOpenAndRead(const std::string& database) {
  TRawDatabase raw(database, SQLITE_OPEN_READWRITE);
  // The statement the record list's table runs, ordered by GID.
  const TRawWalk walk =
      RawWalk(raw.Handle(), "SELECT rowid, * FROM \"addr_rec\" ORDER BY [GID], rowid");
  return walk.Rows + walk.Sum;
}

std::size_t RawOpenCountAndScreenful(const std::string& database) {
  TRawDatabase raw(database, SQLITE_OPEN_READWRITE);
  TRawStatement count(raw.Handle(), "SELECT count(*) FROM addr_rec");
  if (!count.Step()) FailRaw(raw.Handle(), "count");
  return static_cast<std::size_t>(sqlite3_column_int64(count.Handle(), 0)) +
         RawScreenful(raw.Handle(), 0, false);
}

std::size_t RawScreenful(sqlite3* db, long long offset, bool fromTheEnd) {
  const TRawWalk walk =
      RawWalk(db, std::string("SELECT rowid, * FROM \"addr_rec\" ORDER BY ") +
                      (fromTheEnd ? "[GID] DESC, rowid DESC" : "[GID], rowid") + " LIMIT " +
                      std::to_string(kRecordListRows) + " OFFSET " + std::to_string(offset));
  return walk.Rows + walk.Sum;
}

}  // namespace bench
