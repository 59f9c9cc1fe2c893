// The two exports of 100,000 ticked records, each beside the raw SQLite C API running the query
// and writing the same bytes (code page 949 through iconv on both sides), and beside the sqlite3
// shell's CSV export run as a child process. The handlers are timed whole, as the user waits for
// them; the writer rows time only the query and the writing, to show where a handler's time goes.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <iconv.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "addressbook/csv_writers.h"
#include "devtools/bench/address_database.h"
#include "devtools/bench/compare.h"
#include "devtools/bench/raw_sqlite.h"
#include "devtools/bench/scratch_folder.h"
#include "devtools/bench/zeravu_window.h"

extern char** environ;

namespace bench {

namespace {

constexpr int kRecords = 100000;
constexpr int kAllTicked = 100;
constexpr const char* kRawLabelSql =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec WHERE 선택=1";
const std::string kHowMany = Thousands(kRecords) + " ticked records";
const std::string kRawLoop = "raw SQLite query-and-write loop, same bytes";
const std::string kShell = "sqlite3 -csv shell as a child process, UTF-8 unconverted";

// Text going out in code page 949, converted by one iconv descriptor as a raw program would.
class TCp949Text {
 public:
  TCp949Text() : FIconv(iconv_open("CP949", "UTF-8")) {
    if (FIconv == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open CP949");
  }
  ~TCp949Text() { iconv_close(FIconv); }
  TCp949Text(const TCp949Text&) = delete;
  TCp949Text& operator=(const TCp949Text&) = delete;

  void Char(char c) { FOut.push_back(c); }

  void Text(const char* utf8, std::size_t size) {
    // A CP949 character never takes more bytes than its UTF-8 form.
    const std::size_t at = FOut.size();
    FOut.resize(at + size);
    char* in = const_cast<char*>(utf8);
    char* out = FOut.data() + at;
    std::size_t inLeft = size;
    std::size_t outLeft = size;
    if (iconv(FIconv, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
      throw std::runtime_error("iconv: " + std::string(std::strerror(errno)));
    FOut.resize(FOut.size() - outLeft);
  }

  // Quoted (quotes doubled) when it holds a comma, a double quote or a line break.
  void CsvValue(const char* utf8, std::size_t size) {
    if (std::find_if(utf8, utf8 + size, [](char c) {
          return c == ',' || c == '"' || c == '\r' || c == '\n';
        }) == utf8 + size) {
      Text(utf8, size);
      return;
    }
    std::string quoted = "\"";
    for (const char* c = utf8; c != utf8 + size; ++c) {
      quoted += *c;
      if (*c == '"') quoted += '"';
    }
    quoted += '"';
    Text(quoted.data(), quoted.size());
  }

  const std::string& Bytes() const { return FOut; }

 private:
  iconv_t FIconv;
  std::string FOut;
};

const char* TextOf(sqlite3_stmt* s, int column) {
  return reinterpret_cast<const char*>(sqlite3_column_text(s, column));
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The raw spreadsheet export: the ticked rows in the record list's order, every column but the
// four the file leaves out, each value and name followed by ",".
std::size_t RawSpreadsheet(sqlite3* db, const std::string& path) {
  TRawStatement query(db, "SELECT * FROM addr_rec WHERE 선택=1 ORDER BY [GID], rowid");
  sqlite3_stmt* s = query.Handle();
  TCp949Text out;
  std::vector<int> columns;
  int tick = -1;
  for (int i = 0; i < query.ColumnCount(); ++i) {
    const std::string name = sqlite3_column_name(s, i);
    if (addressbook::IsLeftOutOfSpreadsheet(name)) continue;
    if (name == "선택") tick = i;
    columns.push_back(i);
    out.CsvValue(name.data(), name.size());
    out.Char(',');
  }
  out.Char('\n');
  while (query.Step()) {
    for (int i : columns) {
      if (i == tick) {
        out.Text("True", 4);  // only ticked rows are read
      } else if (sqlite3_column_type(s, i) != SQLITE_NULL) {
        out.CsvValue(TextOf(s, i), static_cast<std::size_t>(sqlite3_column_bytes(s, i)));
      }
      out.Char(',');
    }
    out.Char('\n');
  }
  WriteFile(path, out.Bytes());
  return out.Bytes().size();
}

// The raw label hand-off: the label query's columns, "," between values, none after the last.
std::size_t RawLabels(sqlite3* db, const std::string& path) {
  TRawStatement query(db, kRawLabelSql);
  sqlite3_stmt* s = query.Handle();
  TCp949Text out;
  const int columns = query.ColumnCount();
  for (int i = 0; i < columns; ++i) {
    const char* name = sqlite3_column_name(s, i);
    out.Text(name, std::strlen(name));
    out.Char(i + 1 < columns ? ',' : '\n');
  }
  while (query.Step()) {
    for (int i = 0; i < columns; ++i) {
      out.Text(TextOf(s, i), static_cast<std::size_t>(sqlite3_column_bytes(s, i)));
      out.Char(i + 1 < columns ? ',' : '\n');
    }
  }
  WriteFile(path, out.Bytes());
  return out.Bytes().size();
}

// The sqlite3 shell's CSV of `sql`, its standard output going to `path`.
std::size_t ShellExport(const std::string& database, const std::string& sql,
                        const std::string& path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> words = {"sqlite3", "-csv", "-header", database, sql};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, "sqlite3", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0)
    throw std::runtime_error("cannot run sqlite3: " + std::string(strerror(spawned)));
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("sqlite3 failed on " + sql);
  return 1;
}

std::size_t Lines(const std::string& bytes) {
  return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// Zeravu with the database of ticked records open in its record list, and the files both sides
// write; made once for all the benchmarks here.
struct TExports {
  std::string database = AddressDatabase(kRecords, kAllTicked);
  TScratchFolder folder;
  TZeravu zeravu{folder.Path(), database};
  TRawDatabase raw{database};
  std::string ours = folder / "ours.csv";
  std::string base = folder / "base.csv";

  TExports() { zeravu.Start(); }

  dbengine::TADOTable& Table() { return zeravu.dm.adoTblMember; }

  // The spreadsheet's columns, for the shell to select in the same order.
  std::string SpreadsheetSql() {
    std::string columns;
    for (int i = 0; i < Table().FieldCount(); ++i) {
      const std::string& name = Table().Fields(i).FieldName();
      if (addressbook::IsLeftOutOfSpreadsheet(name)) continue;
      columns += (columns.empty() ? "\"" : ",\"") + name + "\"";
    }
    return "SELECT " + columns + " FROM addr_rec WHERE 선택=1 ORDER BY GID, rowid";
  }

  // Both files the same, byte for byte: checked once, before anything is timed.
  bool SameBytes(benchmark::State& state, const TSide& base, const TSide& ours) {
    base.Run();
    ours.Run();
    const std::string baseBytes = ReadFile(this->base);
    const bool same = !baseBytes.empty() && baseBytes == ReadFile(this->ours);
    return Agree(state, same, "our file and the raw loop's file differ");
  }
};

TExports& Exports() {
  static TExports exports;
  return exports;
}

// ---- the spreadsheet export ----

TSide RawSpreadsheetSide(TExports& e) {
  return {[&e] { return RawSpreadsheet(e.raw.Handle(), e.base); }};
}

TSide SaveSelectedCsvSide(TExports& e) {
  return {[&e] {
    e.zeravu.main.SaveSelectedCsv(e.ours);
    return static_cast<std::size_t>(e.Table().RecNo());
  }};
}

void SpreadsheetHandler(benchmark::State& state) {
  TExports& e = Exports();
  Describe(state, "spreadsheet export of " + kHowMany + ": SaveSelectedCsv (atomic replace, fsync)",
           kRawLoop);
  GoalRatio(state, 1.5);
  const TSide base = RawSpreadsheetSide(e), ours = SaveSelectedCsvSide(e);
  if (e.SameBytes(state, base, ours)) CompareSides(state, base, ours);
}

void SpreadsheetWriter(benchmark::State& state) {
  TExports& e = Exports();
  Describe(state, "spreadsheet rows of " + kHowMany + ": WriteSpreadsheetCsv to a file stream",
           kRawLoop);
  GoalRatio(state, 1.5);
  const TSide base = RawSpreadsheetSide(e);
  const TSide ours = {[&e] {
    std::ofstream out(e.ours, std::ios::binary | std::ios::trunc);
    addressbook::WriteSpreadsheetCsv(e.Table(), out);
    out.close();
    return static_cast<std::size_t>(out.good());
  }};
  if (e.SameBytes(state, base, ours)) CompareSides(state, base, ours);
}

void SpreadsheetBesideShell(benchmark::State& state) {
  TExports& e = Exports();
  Describe(state, "spreadsheet export of " + kHowMany + ": SaveSelectedCsv", kShell);
  GoalRatio(state, 1.5);
  const std::string sql = e.SpreadsheetSql();
  const TSide shell = {[&e, sql] { return ShellExport(e.database, sql, e.base); }};
  const TSide ours = SaveSelectedCsvSide(e);
  shell.Run();
  ours.Run();
  if (Agree(state, Lines(ReadFile(e.base)) == Lines(ReadFile(e.ours)),
            "the shell exported other rows"))
    CompareSides(state, shell, ours);
}

// ---- the label hand-off ----

TSide RawLabelSide(TExports& e) {
  return {[&e] { return RawLabels(e.raw.Handle(), e.base); }};
}

TSide WriteLabelCsvSide(TExports& e) {
  return {[&e] {
    e.zeravu.main.WriteLabelCsv(e.ours);
    return static_cast<std::size_t>(e.Table().RecordCount());
  }};
}

void LabelHandler(benchmark::State& state) {
  TExports& e = Exports();
  Describe(state,
           "label hand-off of " + kHowMany +
               ": WriteLabelCsv (refreshes the list, atomic replace, fsync)",
           kRawLoop);
  GoalRatio(state, 1.5);
  const TSide base = RawLabelSide(e), ours = WriteLabelCsvSide(e);
  if (e.SameBytes(state, base, ours)) CompareSides(state, base, ours);
}

void LabelWriter(benchmark::State& state) {
  TExports& e = Exports();
  Describe(state, "label rows of " + kHowMany + ": Qmember query + WriteLabelRows to a file stream",
           kRawLoop);
  GoalRatio(state, 1.5);
  const TSide base = RawLabelSide(e);
  const TSide ours = {[&e] {
    dbengine::TADOQuery& query = e.zeravu.dm.Qmember;
    query.Close();
    query.SQL.Clear();
    query.SQL.Add(addressbook::kLabelQuery);
    query.Open();
    std::ofstream out(e.ours, std::ios::binary | std::ios::trunc);
    addressbook::WriteLabelRows(query, out);
    out.close();
    query.Close();
    return static_cast<std::size_t>(out.good());
  }};
  if (e.SameBytes(state, base, ours)) CompareSides(state, base, ours);
}

void LabelBesideShell(benchmark::State& state) {
  TExports& e = Exports();
  Describe(state, "label hand-off of " + kHowMany + ": WriteLabelCsv", kShell);
  GoalRatio(state, 1.5);
  const TSide shell = {[&e] { return ShellExport(e.database, kRawLabelSql, e.base); }};
  const TSide ours = WriteLabelCsvSide(e);
  shell.Run();
  ours.Run();
  if (Agree(state, Lines(ReadFile(e.base)) == Lines(ReadFile(e.ours)),
            "the shell exported other rows"))
    CompareSides(state, shell, ours);
}

}  // namespace

void RegisterBenchmarks() {
  using TBenchmark = void (*)(benchmark::State&);
  const std::pair<const char*, TBenchmark> benchmarks[] = {
      {"SpreadsheetExport", SpreadsheetHandler},
      {"SpreadsheetRows", SpreadsheetWriter},
      {"SpreadsheetExportBesideShell", SpreadsheetBesideShell},
      {"LabelHandOff", LabelHandler},
      {"LabelRows", LabelWriter},
      {"LabelHandOffBesideShell", LabelBesideShell}};
  for (auto [name, function] : benchmarks)
    benchmark::RegisterBenchmark(name, function)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(Rounds(8));
}

}  // namespace bench
