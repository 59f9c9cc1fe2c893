#include "devtools/bench/table_report.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace bench {

namespace {

std::string Cell(const std::string& text) {
  std::string cell;
  for (char c : text) {
    if (c == '|') cell += '\\';
    cell += c;
  }
  return cell;
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

bool Has(const benchmark::UserCounters& counters, const char* name) {
  return counters.find(name) != counters.end();
}

double Value(const benchmark::UserCounters& counters, const char* name) {
  return counters.at(name).value;
}

TTableRow RowOf(const benchmark::BenchmarkReporter::Run& run) {
  TTableRow row;
  const std::string& label = run.report_label;
  const std::size_t bar = label.find('|');
  row.Operation = label.empty() ? run.benchmark_name() : label.substr(0, bar);
  const std::string baseline = bar == std::string::npos ? "" : label.substr(bar + 1);
  if (run.error_occurred) {
    row.Ours = "skipped: " + run.error_message;
    row.Baseline = baseline;
    row.Ratio = row.Goal = row.Met = "—";
    return row;
  }
  const benchmark::UserCounters& c = run.counters;
  if (Has(c, "reads")) {
    const double reads = Value(c, "reads");
    const double cells = Value(c, "cells");
    row.Ours = Format("%.0f cell reads", reads);
    row.Baseline =
        Format("%.0f cells on screen", cells) + (baseline.empty() ? "" : ", " + baseline);
    row.Ratio = Times(reads / cells);
    row.Goal = "reads only the cells painted";
    row.Met = reads <= cells ? "yes" : "no";
    return row;
  }
  const double ours = Value(c, "ours_ms");
  const double ratio = Value(c, "ratio");
  row.Ours = Milliseconds(ours);
  row.Baseline = Milliseconds(Value(c, "base_ms")) + " (" + baseline + ")";
  row.Ratio = Times(ratio);
  // A row may set a time, a ratio, or both; both must be met.
  std::vector<std::string> goals;
  bool met = true;
  if (Has(c, "goal_ms")) {
    const double goal = Value(c, "goal_ms");
    goals.push_back(Format("< %.0f ms", goal));
    met = met && ours < goal;
  }
  if (Has(c, "goal_ratio")) {
    const double goal = Value(c, "goal_ratio");
    goals.push_back("≤ " + Times(goal) + " baseline");
    met = met && ratio <= goal;
  }
  for (const std::string& goal : goals) row.Goal += (row.Goal.empty() ? "" : " and ") + goal;
  // A comparison kept only to show where a figure stands has no goal to meet.
  if (goals.empty()) {
    row.Goal = row.Met = "—";
    return row;
  }
  row.Met = met ? "yes" : "no";
  return row;
}

}  // namespace

std::string MarkdownRow(const TTableRow& row) {
  return "| " + Cell(row.Operation) + " | " + Cell(row.Ours) + " | " + Cell(row.Baseline) + " | " +
         Cell(row.Ratio) + " | " + Cell(row.Goal) + " | " + Cell(row.Met) + " |";
}

void AppendRows(const std::string& path, const std::vector<TTableRow>& rows) {
  std::ofstream out(path, std::ios::app | std::ios::binary);
  for (const TTableRow& row : rows) out << MarkdownRow(row) << '\n';
  if (!out.flush()) throw std::runtime_error("cannot write the table rows to " + path);
}

std::string Milliseconds(double ms) {
  return Format(ms < 10 ? "%.2f ms" : "%.1f ms", ms);
}

std::string Megabytes(double bytes) {
  const double mb = bytes / (1024.0 * 1024.0);
  return Format(mb < 10 ? "%.1f MB" : "%.0f MB", mb);
}

std::string Times(double ratio) {
  return Format("%.2f×", ratio);
}

TTableReporter::TTableReporter(std::string tablePath)
    : ConsoleReporter(OO_Tabular), FTablePath(std::move(tablePath)) {}

void TTableReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs)
    if (run.run_type == Run::RT_Iteration) FRows.push_back(RowOf(run));
}

void TTableReporter::Finalize() {
  ConsoleReporter::Finalize();
  if (!FTablePath.empty()) AppendRows(FTablePath, FRows);
}

}  // namespace bench
