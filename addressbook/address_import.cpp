#include "addressbook/address_import.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "addressbook/csv_writers.h"
#include "addressbook/data_module.h"
#include "dbengine/scoped_transaction.h"
#include "dbengine/table.h"
#include "platform/ascii_case.h"

namespace addressbook {

namespace {

const char* const kTickColumn = "선택";

// The header is read before the table says what it may hold: no column name comes near these.
constexpr std::size_t kHeaderNameBytes = 1024;
constexpr std::size_t kHeaderFields = 4096;
// How many unknown names an error lists.
constexpr std::size_t kUnknownNamesShown = 20;
// The longest value a column that is not text takes (a date and time), and the bound for a text
// column that declares no size.
constexpr std::size_t kShortValueBytes = 64;
constexpr std::size_t kUnsizedValueBytes = 1 << 20;
// Stored records the table keeps before it lets them go.
constexpr int kRecordsHeld = 1000;

// The address table opened to take new records only: its filter shows no rows, and a refresh
// lets the records stored since go again, so an import holds a bounded number of them whatever
// the length of the file.
class AppendOnlyTable : public dbengine::TADOTable {
 public:
  AppendOnlyTable() {
    TableName = "addr_rec";
    SetFilter("0");
  }
};

// The tick a value of the `선택` column asks for; nothing for an empty value, which keeps the
// default. Spreadsheet programs write TRUE and FALSE in capitals, so case does not matter.
std::optional<bool> TickFromText(const std::string& value, int line) {
  if (value.empty()) return std::nullopt;
  if (value == "1" || platform::SameText(value, "true")) return true;
  if (value == "0" || platform::SameText(value, "false")) return false;
  throw ECsvError(
      line, std::string(kTickColumn) + ": \"" + value + "\" is not True, False, 1, 0 or empty");
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// How the header's columns land in the table.
struct ColumnMap {
  std::vector<int> FieldIndex;  // per CSV column
  bool TrailingComma = false;   // the export's layout: every line ends in ","
};

ColumnMap MapHeader(const CsvRecord& header, dbengine::TDataSet& table) {
  std::vector<std::string> names = header.Fields;
  ColumnMap map;
  if (names.size() > 1 && names.back().empty()) {
    names.pop_back();
    map.TrailingComma = true;
  }
  // The columns the export writes for this table, by name exactly as it writes them.
  std::vector<std::string> known;
  std::map<std::string, int> knownIndex;
  for (int i = 0; i < table.FieldCount(); ++i) {
    if (IsLeftOutOfSpreadsheet(table.Fields(i).FieldName())) continue;
    known.push_back(table.Fields(i).FieldName());
    knownIndex.emplace(table.Fields(i).FieldName(), i);
  }

  std::set<std::string> seen;
  std::vector<std::string> unknown;
  std::size_t moreUnknown = 0;
  for (const std::string& name : names) {
    if (name.empty()) throw ECsvError(header.Line, "a column of the header has no name");
    if (!seen.insert(name).second)
      throw ECsvError(header.Line, "the column " + name + " is named twice");
    const auto found = knownIndex.find(name);
    if (found != knownIndex.end())
      map.FieldIndex.push_back(found->second);
    else if (unknown.size() < kUnknownNamesShown)
      unknown.push_back(name);
    else
      ++moreUnknown;
  }
  if (!unknown.empty()) {
    const std::string more =
        moreUnknown > 0 ? " and " + std::to_string(moreUnknown) + " more" : std::string();
    throw ECsvError(header.Line, "unknown columns: " + Joined(unknown) + more +
                                     " (an address list has " + Joined(known) + ")");
  }
  return map;
}

// The longest value a record may give: what the widest of the header's columns holds, in bytes
// of either encoding (a character takes at most four), so a longer one is refused at once.
std::size_t LongestValueBytes(const ColumnMap& map, dbengine::TDataSet& table) {
  std::size_t longest = kShortValueBytes;
  for (int index : map.FieldIndex) {
    const dbengine::TField& field = table.Fields(index);
    if (field.DataType() == dbengine::ftWideString)
      longest = std::max(longest, field.Size() > 0 ? 4 * static_cast<std::size_t>(field.Size())
                                                   : kUnsizedValueBytes);
  }
  return longest;
}

// The reader refuses a record with more fields than the header has; in the export's layout the
// one more it allows must be the empty field after the last comma.
void CheckFieldCount(const CsvRecord& record, const ColumnMap& map) {
  const std::size_t columns = map.FieldIndex.size();
  if (record.Fields.size() > columns && !record.Fields.back().empty())
    throw ECsvError(record.Line, std::to_string(record.Fields.size()) +
                                     " fields where the header names " + std::to_string(columns));
}

void AppendRecord(dbengine::TDataSet& table, const CsvRecord& record, const ColumnMap& map,
                  const std::string& today) {
  CheckFieldCount(record, map);
  table.Insert();
  if (dbengine::TField* date = table.FindField("SDATE")) date->SetAsString(today);
  dbengine::TField* tick = table.FindField(kTickColumn);
  if (tick) tick->SetAsBoolean(true);
  // A line may stop short of the last columns; those stay empty.
  const std::size_t given = std::min(record.Fields.size(), map.FieldIndex.size());
  for (std::size_t c = 0; c < given; ++c) {
    dbengine::TField& field = table.Fields(map.FieldIndex[c]);
    const std::string& value = record.Fields[c];
    if (&field == tick) {
      if (std::optional<bool> ticked = TickFromText(value, record.Line))
        field.SetAsBoolean(*ticked);
    } else {
      field.SetAsString(value);
    }
  }
  table.Post();
}

bool IsBlankLine(const CsvRecord& record) {
  return record.Fields.size() == 1 && record.Fields.front().empty();
}

}  // namespace

int ImportSpreadsheetCsv(Tdm& dm, std::istream& csv, const ImportOptions& options) {
  CsvReader reader(csv, options.Encoding);
  reader.SetLimits({kHeaderNameBytes, kHeaderFields});
  const std::optional<CsvRecord> header = reader.Next();
  if (!header) throw ECsvError(1, "the file is empty; the first line names the columns");

  AppendOnlyTable table;
  table.Connection = &dm.conn;
  table.Open();
  const ColumnMap map = MapHeader(*header, table);
  reader.SetLimits({LongestValueBytes(map, table), map.FieldIndex.size() + map.TrailingComma});

  int imported = 0;
  // All records or none. Made after the table, so that on a failure the table lets go of the
  // rows it holds before the rollback takes them back.
  dbengine::TScopedTransaction transaction(dm.conn);
  try {
    while (const std::optional<CsvRecord> record = reader.Next()) {
      if (IsBlankLine(*record)) continue;
      try {
        AppendRecord(table, *record, map, options.Today);
      } catch (const ECsvError&) {
        throw;
      } catch (const platform::Exception& e) {
        throw ECsvError(record->Line, e.what());
      }
      if (++imported % kRecordsHeld == 0) table.Refresh();
    }
  } catch (...) {
    table.Close();
    throw;
  }
  transaction.Commit();
  return imported;
}

}  // namespace addressbook
