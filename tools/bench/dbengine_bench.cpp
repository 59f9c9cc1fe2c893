// Opening and walking an address list through the data layer, beside the raw SQLite C API doing
// the same prepare / step / read of every column, in the same process and on the same file.
// Each benchmark times both sides in every iteration (alternating which goes first) and reports
// ours_ms, raw_ms and ratio = ours / raw.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "dbengine/connection.h"
#include "dbengine/database_creation.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "platform/folders.h"

namespace {

constexpr int kRows = 100000;
constexpr const char* kAddressTableSql =
    "CREATE TABLE addr_rec (ID Counter Primary Key,GID LONG,SDATE DATETIME,선택 YesNo,이름 "
    "TEXT(32),"
    "존칭 TEXT(20),우편번호 TEXT(7),주소 TEXT(255),상세주소 TEXT(100),전화 TEXT(20),팩스 TEXT(20),"
    "휴대폰 TEXT(20),회사 TEXT(30),부서 TEXT(30),직책 TEXT(30),회사전화 TEXT(30),회사팩스 TEXT(30),"
    "회사우편번호 TEXT(7),회사주소 TEXT(255),C상세주소 TEXT(100),발송명 TEXT(32),발송회사 TEXT(30),"
    "발송부서 TEXT(30),발송직책 TEXT(30),발송우편번호 TEXT(7),발송주소 TEXT(255),D상세주소 "
    "TEXT(100),"
    "발송 TEXT(10))";
constexpr const char* kLabelQuery =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec WHERE 선택=TRUE;";
// What the table and the label query run once translated; the raw side runs the same text.
constexpr const char* kRawTableSql = "SELECT rowid, * FROM \"addr_rec\" ORDER BY \"GID\", rowid";
constexpr const char* kRawLabelSql =
    "SELECT 우편번호,주소,상세주소,회사,이름,존칭 FROM addr_rec WHERE 선택=1";

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// Realistic rows: Korean names and addresses, phone numbers, a third ticked, most optional
// columns empty as the programs leave them.
class AddressGenerator {
 public:
  std::string Pick(const std::vector<std::string>& from) { return from[FRandom() % from.size()]; }
  int Number(int low, int high) { return low + static_cast<int>(FRandom() % (high - low + 1)); }
  bool Chance(int percent) { return Number(1, 100) <= percent; }

  std::string Name() { return Pick(kSurnames) + Pick(kSyllables) + Pick(kSyllables); }
  std::string Postcode() {
    return std::to_string(Number(100, 799)) + "-" + std::to_string(Number(100, 999));
  }
  std::string Address() {
    return Pick(kCities) + " " + Pick(kDistricts) + " " + Pick(kSyllables) + Pick(kSyllables) +
           std::to_string(Number(1, 5)) + "동";
  }
  std::string Detail() {
    return std::to_string(Number(1, 999)) + "-" + std::to_string(Number(1, 99)) + " " +
           Pick(kSyllables) + Pick(kSyllables) + "아파트 " + std::to_string(Number(101, 120)) +
           "동 " + std::to_string(Number(101, 1504)) + "호";
  }
  std::string Phone(const char* prefix) {
    return std::string(prefix) + "-" + std::to_string(Number(200, 9999)) + "-" +
           std::to_string(Number(1000, 9999));
  }
  std::string Company() { return Pick(kSyllables) + Pick(kSyllables) + Pick(kCompanies); }

 private:
  std::mt19937 FRandom{20080327};
  const std::vector<std::string> kSurnames{"김", "이", "박", "최", "정", "강", "조", "윤",
                                           "장", "임", "한", "오", "서", "신", "권", "황"};
  const std::vector<std::string> kSyllables{"민", "서", "지", "현", "준", "우", "영",
                                            "수", "진", "하", "은", "동", "성", "호",
                                            "경", "미", "정", "태", "상", "혜"};
  const std::vector<std::string> kCities{"서울특별시", "부산광역시", "대구광역시", "인천광역시",
                                         "광주광역시", "대전광역시", "경기도",     "강원도",
                                         "충청북도",   "전라남도"};
  const std::vector<std::string> kDistricts{"강남구", "중구",         "해운대구", "수성구",
                                            "남동구", "북구",         "유성구",   "수원시 팔달구",
                                            "춘천시", "청주시 상당구"};
  const std::vector<std::string> kCompanies{"상사", "전자", "건설", "무역", "물산", "식품", "산업"};
};

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
}

// The address database of the size the goal names, made once per run and removed at exit.
class AddressDatabase {
 public:
  AddressDatabase() {
    FFolder = platform::TempFolder() + "/dbengine_bench_" + std::to_string(::getpid());
    std::filesystem::create_directories(FFolder);
    FPath = FFolder + "/주소록.mdb";
    dbengine::CreateEmptyDatabase(FPath);
    {
      dbengine::TADOConnection conn;
      conn.ConnectionString = ConnectionString();
      conn.Open();
      conn.Execute(kAddressTableSql);
    }
    Fill();
  }
  ~AddressDatabase() { std::filesystem::remove_all(FFolder); }

  const std::string& Path() const { return FPath; }
  std::string ConnectionString() const {
    return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + FPath +
           ";Mode=ReadWrite;";
  }

 private:
  void Fill() {
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2(FPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(
              db,
              "INSERT INTO addr_rec (SDATE,선택,이름,존칭,우편번호,주소,상세주소,전화,휴대폰,"
              "회사,부서,직책,회사전화) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
              -1, &insert, nullptr),
          db, "prepare");
    AddressGenerator gen;
    for (int i = 0; i < kRows; ++i) {
      char date[16];
      std::snprintf(date, sizeof date, "20%02d-%02d-%02d", gen.Number(5, 8), gen.Number(1, 12),
                    gen.Number(1, 28));
      BindText(insert, 1, date);
      sqlite3_bind_int(insert, 2, gen.Chance(30) ? 1 : 0);
      BindText(insert, 3, gen.Name());
      BindText(insert, 4, gen.Pick({"님", "귀하", "선생님", "고객님"}));
      BindText(insert, 5, gen.Postcode());
      BindText(insert, 6, gen.Address());
      BindText(insert, 7, gen.Detail());
      if (gen.Chance(40)) BindText(insert, 8, gen.Phone("02"));
      if (gen.Chance(70)) BindText(insert, 9, gen.Phone("010"));
      if (gen.Chance(50)) {
        BindText(insert, 10, gen.Company());
        BindText(insert, 11, gen.Pick({"영업부", "총무부", "기획실", "연구소"}));
        BindText(insert, 12, gen.Pick({"과장", "대리", "부장", "사원"}));
        BindText(insert, 13, gen.Phone("031"));
      }
      Check(sqlite3_step(insert), db, "insert");
      sqlite3_reset(insert);
      sqlite3_clear_bindings(insert);
    }
    sqlite3_finalize(insert);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close_v2(db);
  }

  std::string FFolder;
  std::string FPath;
};

AddressDatabase& Database() {
  static AddressDatabase database;
  return database;
}

// The raw side: prepare, step, and read every column as its own kind; answers a checksum.
std::size_t RawWalk(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  Check(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), db, "prepare");
  const int columns = sqlite3_column_count(statement);
  std::size_t sum = 0;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    for (int i = 0; i < columns; ++i) {
      switch (sqlite3_column_type(statement, i)) {
        case SQLITE_INTEGER:
          sum += static_cast<std::size_t>(sqlite3_column_int64(statement, i));
          break;
        case SQLITE_TEXT:
          sum += static_cast<std::size_t>(sqlite3_column_bytes(statement, i)) +
                 sqlite3_column_text(statement, i)[0];
          break;
        default:
          break;
      }
    }
  }
  sqlite3_finalize(statement);
  return sum;
}

// Our side: every field of every row as text, the way the grid and the exports read them.
std::size_t OurWalk(dbengine::TDataSet& dataSet) {
  dataSet.Open();
  std::size_t sum = 0;
  const int fields = dataSet.FieldCount();
  for (; !dataSet.Eof(); dataSet.Next())
    for (int i = 0; i < fields; ++i) sum += dataSet.Fields(i).AsString().size();
  dataSet.Close();
  return sum;
}

using Clock = std::chrono::steady_clock;

template <typename Raw, typename Ours>
void Compare(benchmark::State& state, Raw raw, Ours ours) {
  double rawSeconds = 0;
  double oursSeconds = 0;
  bool rawFirst = true;
  for (auto _ : state) {
    for (int side = 0; side < 2; ++side) {
      const bool runRaw = (side == 0) == rawFirst;
      const auto start = Clock::now();
      benchmark::DoNotOptimize(runRaw ? raw() : ours());
      const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      (runRaw ? rawSeconds : oursSeconds) += seconds;
    }
    rawFirst = !rawFirst;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["raw_ms"] = rawSeconds / n * 1000;
  state.counters["ours_ms"] = oursSeconds / n * 1000;
  state.counters["ratio"] = oursSeconds / rawSeconds;
}

void BM_TableOpenAndWalk(benchmark::State& state) {
  AddressDatabase& database = Database();
  sqlite3* raw = nullptr;
  Check(sqlite3_open_v2(database.Path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), raw, "open");
  dbengine::TADOConnection conn;
  conn.ConnectionString = database.ConnectionString();
  conn.Open();
  dbengine::TADOTable table;
  table.Connection = &conn;
  table.TableName = "addr_rec";
  table.IndexFieldNames = "GID";
  Compare(
      state, [&] { return RawWalk(raw, kRawTableSql); }, [&] { return OurWalk(table); });
  sqlite3_close_v2(raw);
}

void BM_LabelQueryForwardOnly(benchmark::State& state) {
  AddressDatabase& database = Database();
  sqlite3* raw = nullptr;
  Check(sqlite3_open_v2(database.Path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), raw, "open");
  dbengine::TADOConnection conn;
  conn.ConnectionString = database.ConnectionString();
  conn.Open();
  dbengine::TADOQuery query;
  query.Connection = &conn;
  query.CursorType = dbengine::ctOpenForwardOnly;
  query.LockType = dbengine::ltReadOnly;
  query.SQL.Add(kLabelQuery);
  Compare(
      state, [&] { return RawWalk(raw, kRawLabelSql); }, [&] { return OurWalk(query); });
  sqlite3_close_v2(raw);
}

BENCHMARK(BM_TableOpenAndWalk)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LabelQueryForwardOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
