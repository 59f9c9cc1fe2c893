#include "tools/zarize-db/address_import.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "dbengine/table.h"
#include "zeravu/csv_writers.h"
#include "zeravu/data_module.h"

namespace zarizedb {

namespace {

const char* const kTickColumn = "선택";

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// The tick a value of the `선택` column asks for; nothing for an empty value, which keeps the
// default. Spreadsheet programs write TRUE and FALSE in capitals, so case does not matter.
std::optional<bool> TickFromText(const std::string& value, int line) {
  if (value.empty()) return std::nullopt;
  if (value == "1" || EqualsIgnoringAsciiCase(value, "true")) return true;
  if (value == "0" || EqualsIgnoringAsciiCase(value, "false")) return false;
  throw ECsvError(
      line, std::string(kTickColumn) + ": \"" + value + "\" is not True, False, 1, 0 or empty");
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// How the header's columns land in the table.
struct TColumnMap {
  std::vector<int> FieldIndex;  // per CSV column
  bool TrailingComma = false;   // the export's layout: every line ends in ","
};

TColumnMap MapHeader(const TCsvRecord& header, dbengine::TDataSet& table) {
  std::vector<std::string> names = header.Fields;
  TColumnMap map;
  if (names.size() > 1 && names.back().empty()) {
    names.pop_back();
    map.TrailingComma = true;
  }
  // The columns the export writes for this table, by name exactly as it writes them.
  std::vector<std::string> known;
  std::vector<int> knownIndex;
  for (int i = 0; i < table.FieldCount(); ++i) {
    if (zeravu::IsLeftOutOfSpreadsheet(table.Fields(i).FieldName())) continue;
    known.push_back(table.Fields(i).FieldName());
    knownIndex.push_back(i);
  }

  std::vector<std::string> unknown;
  for (const std::string& name : names) {
    if (name.empty()) throw ECsvError(header.Line, "a column of the header has no name");
    if (std::count(names.begin(), names.end(), name) > 1)
      throw ECsvError(header.Line, "the column " + name + " is named twice");
    const auto found = std::find(known.begin(), known.end(), name);
    if (found == known.end())
      unknown.push_back(name);
    else
      map.FieldIndex.push_back(knownIndex[static_cast<std::size_t>(found - known.begin())]);
  }
  if (!unknown.empty())
    throw ECsvError(header.Line, "unknown columns: " + Joined(unknown) + " (an address list has " +
                                     Joined(known) + ")");
  return map;
}

void CheckFieldCount(const TCsvRecord& record, const TColumnMap& map) {
  const std::size_t columns = map.FieldIndex.size();
  const bool exportLayoutEnd =
      map.TrailingComma && record.Fields.size() == columns + 1 && record.Fields.back().empty();
  if (record.Fields.size() > columns && !exportLayoutEnd)
    throw ECsvError(record.Line, std::to_string(record.Fields.size()) +
                                     " fields where the header names " + std::to_string(columns));
}

void AppendRecord(dbengine::TDataSet& table, const TCsvRecord& record, const TColumnMap& map,
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

bool IsBlankLine(const TCsvRecord& record) {
  return record.Fields.size() == 1 && record.Fields.front().empty();
}

}  // namespace

int ImportSpreadsheetCsv(zeravu::Tdm& dm, std::string_view bytes, const TImportOptions& options) {
  const std::vector<TCsvRecord> records = ReadCsvRecords(DecodeCsvText(bytes, options.Encoding));
  if (records.empty()) throw ECsvError(1, "the file is empty; the first line names the columns");

  dbengine::TADOTable& table = dm.adoTblMember;
  table.Open();
  const TColumnMap map = MapHeader(records.front(), table);

  int imported = 0;
  dm.conn.BeginTrans();
  try {
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
      if (IsBlankLine(*record)) continue;
      try {
        AppendRecord(table, *record, map, options.Today);
      } catch (const ECsvError&) {
        throw;
      } catch (const platform::Exception& e) {
        throw ECsvError(record->Line, e.what());
      }
      ++imported;
    }
    dm.conn.CommitTrans();
  } catch (...) {
    // The table's rows in memory hold what the rollback takes back, so it closes first.
    table.Close();
    dm.conn.RollbackTrans();
    throw;
  }
  return imported;
}

}  // namespace zarizedb
