#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace bench {

// One line of the table devtools/bench/run prints.
struct TTableRow {
  std::string Operation;
  std::string Ours;
  std::string Baseline;
  std::string Ratio;
  std::string Goal;
  std::string Met;
};

// "| operation | ours | baseline | ratio | goal | met? |", a "|" inside a cell escaped.
std::string MarkdownRow(const TTableRow& row);
// Appends the rows to the file, one Markdown line each; throws when it cannot be written.
void AppendRows(const std::string& path, const std::vector<TTableRow>& rows);

std::string Milliseconds(double ms);
std::string Megabytes(double bytes);
std::string Times(double ratio);

// The console's report as usual, and one table row per benchmark run, appended to `tablePath`
// (when not empty) at the end. A row reads the run's label ("operation|baseline") and its
// counters: ours_ms, base_ms, ratio and goal_ms or goal_ratio for a timing; reads and cells for a
// count of the cells a grid read.
class TTableReporter : public benchmark::ConsoleReporter {
 public:
  explicit TTableReporter(std::string tablePath);
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  std::string FTablePath;
  std::vector<TTableRow> FRows;
};

}  // namespace bench
