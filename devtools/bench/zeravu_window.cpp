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

std::size_t OpenAndShowLast(TZeravu& zeravu) {
  zeravu.Start();
  const ui::TwwDBGrid& grid = zeravu.main.wwDBGMember;
  std::size_t bytes = PaintRows(grid, 0, kRecordListRows);
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

}  // namespace bench
