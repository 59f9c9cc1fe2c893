#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "addressbook/address_record.h"
#include "addressbook/import_source.h"

namespace addressbook {

// Which column of the address table each column of an import source goes to.
class ColumnMapping {
 public:
  // The default for these source columns: a source column goes to the table column of its exact
  // name (the program's own spreadsheet layout), else to the one its header commonly means
  // (성명, Name; 핸드폰, Mobile; Zip Code ...: case, blanks, '_', '-' and '.' do not count); a
  // table column already taken by an earlier source column is not taken again.
  explicit ColumnMapping(std::vector<std::string> sourceColumns);

  const std::vector<std::string>& SourceColumns() const { return FSourceColumns; }

  // The table column source column `index` goes to; empty when it is not imported.
  const std::string& Target(std::size_t index) const { return FTargets.at(index); }

  // Sends source column `index` to the table column `target`, or, with an empty target, leaves
  // it out of the import. Throws EImportError for a column the table does not have or cannot
  // take from a file, and for a table column another source column already goes to.
  void SetTarget(std::size_t index, std::string_view target);

  // The record `row` makes. Throws EImportError, naming the row (as "<noun> <number>") and the
  // table column, for a value longer than the column holds (nothing is ever cut off) and for a
  // tick that is not True, False, 1, 0 or empty (any case). The tick comes out as "True",
  // "False" or empty.
  AddressRecord Apply(const SourceRow& row, std::string_view rowNoun) const;

 private:
  std::vector<std::string> FSourceColumns;
  std::vector<std::string> FTargets;
};

}  // namespace addressbook
