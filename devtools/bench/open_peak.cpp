// Peak memory of the host's launch of Zeravu on address databases of growing size: each open runs
// in a process of its own, forked from this small one, and its ru_maxrss is what the kernel
// reports for it when it ends. Beside it: raw SQLite reading the same rows, a process that opens
// nothing (the floor every figure starts from) and the database file's size.
//   open_peak [--quick] [--table_out=<file>]
// Prints one Markdown table row per size and appends them to the file when one is named.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
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

// Runs `work` in a child process; answers the child's peak resident memory in bytes.
double PeakOfChild(const std::function<void()>& work) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("cannot fork");
  if (child == 0) {
    int code = 0;
    try {
      work();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "open_peak: %s\n", e.what());
      code = 1;
    }
    _exit(code);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("the measured process failed");
  return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

bench::TTableRow MeasureOpen(int records) {
  // Made in a child too, so that this process stays as small as it started; here it is only
  // found in the shared data folder.
  PeakOfChild([records] { bench::AddressDatabase(records, kTickedPercent); });
  const std::string database = bench::AddressDatabase(records, kTickedPercent);

  const double floor = PeakOfChild([] {});
  const double ours = PeakOfChild([&database] {
    bench::TScratchFolder folder;
    bench::TZeravu zeravu(folder.Path(), database);
    bench::OpenAndShowLast(zeravu);
  });
  const double raw = PeakOfChild([&database] { bench::RawOpenAndRead(database); });
  const double file = static_cast<double>(std::filesystem::file_size(database));

  bench::TTableRow row;
  row.Operation = "peak memory (ru_maxrss) of the main window's open of " +
                  bench::Thousands(records) + " records";
  row.Ours = bench::Megabytes(ours);
  row.Baseline = bench::Megabytes(raw) + " (raw SQLite reading the same rows; a process opening " +
                 "nothing: " + bench::Megabytes(floor) + "; the file: " + bench::Megabytes(file) +
                 ")";
  row.Ratio = "—";
  row.Goal = "reported, no goal";
  row.Met = "—";
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
