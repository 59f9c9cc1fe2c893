// Memory the host's launch of Zeravu on address databases of growing size adds to the process:
// each open runs in a process of its own, forked from this small one, which measures its resident
// memory just before the open and its peak (ru_maxrss) after it, and reports the growth. Beside
// it: raw SQLite showing the same list (count and one screenful), raw SQLite reading every row,
// and the database file's size.
//   open_peak [--quick] [--table_out=<file>]
// Prints one Markdown table row per size and appends them to the file when one is named.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "devtools/bench/address_database.h"
#include "devtools/bench/scratch_folder.h"
#include "devtools/bench/table_report.h"
#include "devtools/bench/zeravu_window.h"

namespace {

constexpr int kTickedPercent = 30;
// The most the open of a list may add, whatever its size.
constexpr double kGoalBytes = 32.0 * 1024 * 1024;

double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

double PeakBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

// Runs `prepare`, then `work`, in a child process; answers how far the child's peak resident
// memory rose above what it held after `prepare`.
double GrowthInChild(const std::function<void()>& prepare, const std::function<void()>& work) {
  int report[2];
  if (pipe(report) != 0) throw std::runtime_error("cannot make a pipe");
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("cannot fork");
  if (child == 0) {
    close(report[0]);
    int code = 0;
    try {
      prepare();
      const double before = ResidentBytes();
      work();
      const double growth = PeakBytes() - before;
      if (write(report[1], &growth, sizeof growth) != sizeof growth) code = 1;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "open_peak: %s\n", e.what());
      code = 1;
    }
    _exit(code);
  }
  close(report[1]);
  double growth = 0;
  const bool read = ::read(report[0], &growth, sizeof growth) == sizeof growth;
  close(report[0]);
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      !read)
    throw std::runtime_error("the measured process failed");
  return growth;
}

bench::TTableRow MeasureOpen(int records) {
  // Made in a child too, so that this process stays as small as it started; here it is only
  // found in the shared data folder.
  GrowthInChild([] {}, [records] { bench::AddressDatabase(records, kTickedPercent); });
  const std::string database = bench::AddressDatabase(records, kTickedPercent);
  // The first open of a file makes the index of its order; that is not what is measured.
  GrowthInChild([] {},
                [&database] {
                  bench::TScratchFolder folder;
                  bench::TZeravu zeravu(folder.Path(), database);
                  bench::OpenAndShowFirst(zeravu);
                });

  std::unique_ptr<bench::TScratchFolder> folder;
  std::unique_ptr<bench::TZeravu> zeravu;
  const double ours = GrowthInChild(
      [&] {
        folder = std::make_unique<bench::TScratchFolder>();
        zeravu = std::make_unique<bench::TZeravu>(folder->Path(), database);
      },
      [&] { bench::OpenAndShowLast(*zeravu); });
  const double shown =
      GrowthInChild([] {}, [&database] { bench::RawOpenCountAndScreenful(database); });
  const double everything = GrowthInChild([] {}, [&database] { bench::RawOpenAndRead(database); });
  const double file = static_cast<double>(std::filesystem::file_size(database));

  bench::TTableRow row;
  row.Operation = "memory the main window's open of " + bench::Thousands(records) +
                  " records adds (peak resident growth: open, first and last screenful)";
  row.Ours = bench::Megabytes(ours);
  row.Baseline = bench::Megabytes(shown) + " (raw SQLite counting and reading a screenful; " +
                 "reading every row: " + bench::Megabytes(everything) +
                 "; the file: " + bench::Megabytes(file) + ")";
  row.Ratio = "—";
  row.Goal = "< " + bench::Megabytes(kGoalBytes);
  row.Met = ours < kGoalBytes ? "yes" : "no";
  return row;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr std::string_view kTableOut = "--table_out=";
  bool quick = false;
  std::string tablePath;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--quick") {
      quick = true;
    } else if (arg.substr(0, kTableOut.size()) == kTableOut) {
      tablePath = arg.substr(kTableOut.size());
    } else {
      std::fprintf(stderr, "usage: open_peak [--quick] [--table_out=<file>]\n");
      return 2;
    }
  }
  try {
    // The children make the databases where this process finds them.
    std::unique_ptr<bench::TScratchFolder> data;
    if (std::getenv("ZARIZE_BENCH_DATA") == nullptr) {
      data = std::make_unique<bench::TScratchFolder>();
      setenv("ZARIZE_BENCH_DATA", data->Path().c_str(), 1);
    }
    std::vector<bench::TTableRow> rows;
    for (int records : {1000, 100000, 1000000}) {
      if (quick && records > 100000) continue;
      rows.push_back(MeasureOpen(records));
      std::printf("%s\n", bench::MarkdownRow(rows.back()).c_str());
    }
    if (!tablePath.empty()) bench::AppendRows(tablePath, rows);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "open_peak: %s\n", e.what());
    return 1;
  }
  return 0;
}
