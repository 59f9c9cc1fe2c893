// The main of every benchmark program: Google Benchmark's flags, and two of our own.
//   --quick             a short smoke run: every comparison runs one round each way
//   --table_out=<file>  appends one Markdown table row per benchmark to the file
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "devtools/bench/compare.h"
#include "devtools/bench/table_report.h"

int main(int argc, char** argv) {
  constexpr std::string_view kTableOut = "--table_out=";
  std::string tablePath;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--quick") {
      bench::SetQuick(true);
    } else if (arg.substr(0, kTableOut.size()) == kTableOut) {
      tablePath = arg.substr(kTableOut.size());
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  bench::RegisterBenchmarks();
  bench::TTableReporter reporter(tablePath);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
