#pragma once

#include <span>
#include <string_view>

namespace addressbook {

// What a column of the address table holds.
enum class ColumnKind { AutoNumber, Integer, DateTime, YesNo, Text };

struct ColumnInfo {
  std::string_view Name;
  ColumnKind Kind;
  int Size;  // characters a Text column holds; 0 for the other kinds
};

// Every column of the address table `addr_rec`, in the table's order, as the statement that makes
// the table (kCreateAddressTable) declares them.
std::span<const ColumnInfo> AddressColumns();

// The columns an import fills: every column of the address table `addr_rec` but the record
// number, the group and the day of adding, which the program sets itself. In the table's order
// (the spreadsheet file keeps this order too).
std::span<const ColumnInfo> ImportableColumns();

// The importable column of that exact name, or null.
const ColumnInfo* FindImportableColumn(std::string_view name);

// Position of an importable column in ImportableColumns(); the column must exist.
std::size_t ImportableColumnIndex(std::string_view name);

// The name of the tick column, the one importable column that is not text.
inline constexpr std::string_view kTickColumn = "선택";

}  // namespace addressbook
