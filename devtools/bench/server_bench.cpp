// An address list on a PostgreSQL server over a local socket: opening it in the main window and
// the label query, each beside raw libpq doing the same in the same process, and beside the same
// list in a file.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "addressbook/csv_writers.h"
#include "dbengine/connection.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/query.h"
#include "devtools/bench/address_database.h"
#include "devtools/bench/compare.h"
#include "devtools/bench/scratch_folder.h"
#include "devtools/bench/screenful.h"
#include "devtools/bench/server_list.h"
#include "devtools/bench/zeravu_window.h"

namespace bench {

namespace {

constexpr int kRecords = 100000;
constexpr int kTickedPercent = 30;
// What the list's open and the label query run once translated; the raw side runs the same.
constexpr const char* kRawScreenful =
    "SELECT * FROM addr_rec ORDER BY \"GID\" NULLS FIRST, \"ID\" LIMIT 24";
constexpr const char* kRawLabelSql =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec WHERE 선택=1";

TServerList* List() {
  static const std::unique_ptr<TServerList> list = TServerList::Make(kRecords, kTickedPercent);
  return list.get();
}

bool HaveServer(benchmark::State& state) {
  return Agree(state, List() != nullptr, TServerList::Missing());
}

// A fresh Zeravu launched on `database` for every timed run, made and dropped untimed.
TSide Launches(const TScratchFolder& folder, const std::string& database,
               std::unique_ptr<TZeravu>& zeravu) {
  return {[&zeravu] { return OpenAndShowFirst(*zeravu); },
          [&folder, database, &zeravu] {
            zeravu.reset();
            zeravu = std::make_unique<TZeravu>(folder.Path(), database);
          }};
}

// The rows and the bytes of every value read, as TRawServer::Walk counts them.
std::size_t Walk(dbengine::TDataSet& dataSet) {
  dataSet.Open();
  std::size_t sum = 0;
  const int fields = dataSet.FieldCount();
  for (; !dataSet.Eof(); dataSet.Next(), ++sum)
    for (int i = 0; i < fields; ++i) sum += dataSet.Fields(i).AsString().size();
  dataSet.Close();
  return sum;
}

void OpenFirstScreenful(benchmark::State& state, bool besideFile) {
  Describe(state,
           "server list: main window open of " + Thousands(kRecords) +
               " records over a local socket, first screenful painted",
           besideFile ? "the same list in a file: tmActTimer mode 1, first screenful painted"
                      : "raw libpq: connect, count the rows, read the first screenful");
  if (!HaveServer(state)) return;
  if (!besideFile) GoalRatio(state, 1.5);
  TScratchFolder folder;
  std::unique_ptr<TZeravu> onServer;
  const TSide ours = Launches(folder, List()->Link(), onServer);
  ours.Prepare();
  ours.Run();
  if (!Agree(state, onServer->dm.adoTblMember.RecordCount() == kRecords,
             "the record list does not count every record"))
    return;
  std::unique_ptr<TZeravu> onFile;
  const std::string file = AddressDatabase(kRecords, kTickedPercent);
  const std::string connInfo = List()->ConnInfo();
  const TSide base = besideFile ? Launches(folder, file, onFile) : TSide{[&connInfo] {
    TRawServer raw(connInfo);
    return raw.Walk("SELECT count(*) FROM addr_rec") + raw.Walk(kRawScreenful);
  }};
  CompareSides(state, base, ours);
}

void LabelQuery(benchmark::State& state, bool besideFile) {
  Describe(state,
           "server list: label query, forward-only, " + Thousands(kRecords) +
               " records, every field read",
           besideFile ? "the same query on the list in a file"
                      : "raw libpq: the same statement, every value read");
  if (!HaveServer(state)) return;
  if (!besideFile) GoalRatio(state, 1.5);
  const auto query = [](dbengine::TADOConnection& conn) {
    auto made = std::make_unique<dbengine::TADOQuery>();
    made->Connection = &conn;
    made->CursorType = dbengine::ctOpenForwardOnly;
    made->LockType = dbengine::ltReadOnly;
    made->SQL.Add(addressbook::kLabelQuery);
    return made;
  };
  dbengine::TADOConnection server;
  server.ConnectionString = dbengine::JetConnectionString(List()->Link());
  server.Open();
  const std::unique_ptr<dbengine::TADOQuery> ours = query(server);
  dbengine::TADOConnection file;
  file.ConnectionString = dbengine::JetConnectionString(AddressDatabase(kRecords, kTickedPercent));
  file.Open();
  const std::unique_ptr<dbengine::TADOQuery> onFile = query(file);
  TRawServer raw(List()->ConnInfo());
  const std::size_t oursRead = Walk(*ours);
  if (!Agree(state, oursRead == (besideFile ? Walk(*onFile) : raw.Walk(kRawLabelSql)),
             "the sides read different rows"))
    return;
  const TSide base = besideFile ? TSide{[&onFile] { return Walk(*onFile); }}
                                : TSide{[&raw] { return raw.Walk(kRawLabelSql); }};
  CompareSides(state, base, {[&ours] { return Walk(*ours); }});
}

}  // namespace

void RegisterBenchmarks() {
  for (const bool besideFile : {false, true}) {
    benchmark::RegisterBenchmark("ServerOpenFirstScreenful", OpenFirstScreenful, besideFile)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(Rounds(20));
    benchmark::RegisterBenchmark("ServerLabelQuery", LabelQuery, besideFile)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(Rounds(10));
  }
}

}  // namespace bench
