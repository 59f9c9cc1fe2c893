// The spreadsheet file: any two values written to it read back whole through an RFC 4180
// reader, as far as code page 949 holds them. The hand-off file: whatever the values hold, a
// record is one line. Input: first value NUL second value.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "addressbook/csv_reader.h"
#include "addressbook/csv_writers.h"
#include "dbengine/connection.h"
#include "dbengine/database_creation.h"
#include "dbengine/errors.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "devtools/fuzz/fuzz_check.h"
#include "platform/cp949.h"

namespace {

struct Database {
  Database() {
    char folder[] = "/tmp/zarize-csv-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(folder) != nullptr);
    Folder = folder;
    Path = Folder + "/fuzz.mdb";
    dbengine::CreateEmptyDatabase(Path);
    conn.ConnectionString = dbengine::JetConnectionString(Path);
    conn.Open();
    // Each input stores a record; waiting for the disk each time would only slow the search.
    conn.Execute("PRAGMA synchronous=OFF");
    conn.Execute(
        "CREATE TABLE addr_rec (ID Counter Primary Key,선택 YesNo,이름 TEXT(255),"
        "주소 TEXT(255))");
    table.Connection = &conn;
    table.TableName = "addr_rec";
    table.Open();
  }
  ~Database() {
    conn.Close();
    std::remove(Path.c_str());
    rmdir(Folder.c_str());
  }
  std::string Folder;
  std::string Path;
  dbengine::TADOConnection conn;
  dbengine::TADOTable table;
};

// What the spreadsheet can hold of a value: the text after a trip through code page 949.
std::string AsWritten(const std::string& value) {
  return platform::FromCp949(platform::ToCp949(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Database db;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string name(input.substr(0, nul));
  const std::string address(nul == std::string_view::npos ? "" : input.substr(nul + 1));

  dbengine::TADOTable& table = db.table;
  while (table.RecordCount() > 0) {
    table.First();
    table.Delete();
  }
  table.Insert();
  table.FieldByName("선택").SetAsBoolean(true);
  table.FieldByName("이름").SetAsString(name);
  table.FieldByName("주소").SetAsString(address);
  try {
    table.Post();
  } catch (const dbengine::EDatabaseError&) {
    table.Cancel();  // longer than its column: refused, as it should be
    return 0;
  }

  std::ostringstream out;
  addressbook::WriteSpreadsheetCsv(table, out);
  const auto records = addressbook::ReadCsvRecords(out.str(), addressbook::TextEncoding::Cp949);
  // The header and one record, each ending in the empty field after the last ",".
  FUZZ_CHECK(records.size() == 2);
  FUZZ_CHECK(records[1].Fields.size() == 4);
  FUZZ_CHECK(records[1].Fields[0] == "True");
  FUZZ_CHECK(records[1].Fields[1] == AsWritten(table.FieldByName("이름").AsString()));
  FUZZ_CHECK(records[1].Fields[2] == AsWritten(table.FieldByName("주소").AsString()));
  FUZZ_CHECK(records[1].Fields[3].empty());

  dbengine::TADOQuery labels;
  labels.Connection = &db.conn;
  labels.CursorType = dbengine::ctOpenForwardOnly;
  labels.SQL.Add("SELECT 이름,주소 FROM addr_rec WHERE 선택=TRUE;");
  labels.Open();
  std::ostringstream handOff;
  addressbook::WriteLabelRows(labels, handOff);
  labels.Close();
  const std::string lines = handOff.str();
  FUZZ_CHECK(std::count(lines.begin(), lines.end(), '\n') == 2 && lines.back() == '\n');
  FUZZ_CHECK(lines.find_first_of(std::string("\r\0", 2)) == std::string::npos);
  return 0;
}
