#include "devtools/bench/address_database.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "addressbook/data_module.h"
#include "dbengine/connection.h"
#include "dbengine/database_creation.h"
#include "dbengine/jet_connection_string.h"
#include "devtools/bench/address_records.h"
#include "devtools/bench/raw_sqlite.h"
#include "devtools/bench/scratch_folder.h"
#include "platform/folders.h"

namespace bench {

namespace {

const std::string& DataFolder() {
  static const std::string folder = [] {
    const char* shared = std::getenv("ZARIZE_BENCH_DATA");
    if (shared != nullptr && platform::DirectoryExists(shared)) return std::string(shared);
    static TScratchFolder own;
    return own.Path();
  }();
  return folder;
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  if (text.empty()) return;  // left NULL, as the programs leave an empty box
  sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
}

void Fill(const std::string& path, int records, int tickedPercent) {
  TRawDatabase db(path, SQLITE_OPEN_READWRITE);
  db.Exec("BEGIN");
  TRawStatement insert(db.Handle(),
                       "INSERT INTO addr_rec (SDATE,선택,이름,존칭,우편번호,주소,상세주소,"
                       "회사,전화,휴대폰) VALUES (?,?,?,?,?,?,?,?,?,?)");
  sqlite3_stmt* s = insert.Handle();
  TAddressGenerator generator;
  for (int i = 0; i < records; ++i) {
    const TAddressRecord r = generator.Next(tickedPercent);
    BindText(s, 1, r.Date);
    sqlite3_bind_int(s, 2, r.Ticked ? 1 : 0);
    BindText(s, 3, r.Name);
    BindText(s, 4, r.Honorific);
    BindText(s, 5, r.Postcode);
    BindText(s, 6, r.Address);
    BindText(s, 7, r.Detail);
    BindText(s, 8, r.Company);
    BindText(s, 9, r.Phone);
    BindText(s, 10, r.Mobile);
    insert.Step();
    insert.Reset();
  }
  db.Exec("COMMIT");
}

}  // namespace

std::string Thousands(long long value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0 && digits[i - 1] != '-') grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string AddressDatabase(int records, int tickedPercent) {
  const std::string path = DataFolder() + "/주소록-" + std::to_string(records) + "-" +
                           std::to_string(tickedPercent) + ".mdb";
  if (platform::FileExists(path)) return path;
  // Made under another name and renamed at the end: a run cut short leaves no half-made file
  // for the next program to take as done.
  const std::string making = path + ".making-" + std::to_string(::getpid());
  std::filesystem::remove(making);
  dbengine::CreateEmptyDatabase(making);
  {
    dbengine::TADOConnection conn;
    conn.ConnectionString = dbengine::JetConnectionString(making);
    conn.Open();
    conn.Execute(addressbook::kCreateGroupTable);
    conn.Execute(addressbook::kCreateAddressTable);
  }
  Fill(making, records, tickedPercent);
  std::filesystem::rename(making, path);
  return path;
}

}  // namespace bench
