#pragma once

#include <ostream>
#include <string>

namespace dbengine {
class TDataSet;
}

namespace addressbook {

// Which records the spreadsheet file holds: the button writes the ticked ones; a full copy of
// the list writes every record, its tick as "True", "False" or empty.
enum class SpreadsheetRows { Ticked, All };

// The spreadsheet file: every column of the table but ID, GID, SDATE and ZIP2, each name and
// value followed by ","; one line per ticked record (per record with All), walking the table
// from its first record exactly RecordCount times; LF line ends; code page 949. A value holding a
// comma, a double quote or a line break is quoted with its quotes doubled, so the spreadsheet reads
// it whole. Moves the table's current record (First posts a pending one); the caller puts it back.
// Writing the ticked records of a table without `선택` fails with the data layer's missing-field
// error before anything is written.
void WriteSpreadsheetCsv(dbengine::TDataSet& table, std::ostream& out,
                         SpreadsheetRows rows = SpreadsheetRows::Ticked);

// The label hand-off file: every row of the open query, values separated by "," with none after
// the last, LF line ends, code page 949, never quoted (the host reads it so). A CR, LF or NUL
// inside a value is written as one space, so each row is exactly one line.
void WriteLabelRows(dbengine::TDataSet& query, std::ostream& out);

// The label hand-off's query: the six label columns of the ticked records.
extern const char* const kLabelQuery;
// The same six columns of every record, ticked or not.
extern const char* const kAllLabelRowsQuery;

// Whether the spreadsheet file leaves this column out.
bool IsLeftOutOfSpreadsheet(const std::string& columnName);

}  // namespace addressbook
