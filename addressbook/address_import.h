#pragma once

#include <istream>
#include <string>

#include "addressbook/csv_reader.h"

namespace addressbook {

class Tdm;

struct ImportOptions {
  TextEncoding Encoding = TextEncoding::Detect;
  std::string Today;  // SDATE of every new record, "YYYY-MM-DD"
};

// Appends the records of a spreadsheet CSV file to the address table of the database `dm` has
// open, and answers how many. The header names the columns: any of those the spreadsheet export
// writes, in any order, with or without the export's trailing comma. A new record gets SDATE
// `Today` and is ticked unless its `선택` says "False" or "0". The header is checked before any
// record is read; the records are read and stored one at a time, all in one transaction: the
// first bad one (ECsvError with its line: a value longer than any of the header's columns holds
// is refused before the rest of it is read) rolls everything back. dm's own table is not used.
int ImportSpreadsheetCsv(Tdm& dm, std::istream& csv, const ImportOptions& options);

}  // namespace addressbook
