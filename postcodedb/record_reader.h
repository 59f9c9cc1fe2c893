#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "postcodedb/text_lines.h"

namespace postcodedb {

// The `|`-separated records of a text input, one a line, each checked for its number of fields
// and read field by field with checks that name the column at fault. Blank lines are skipped.
class TRecordReader {
 public:
  // `columns` names the fields in order (the names errors give). With `closingSeparator` the `|`
  // that ends a line, as the ministry writes them, closes the last field instead of opening one.
  TRecordReader(TTextLines& lines, std::vector<std::string_view> columns, bool closingSeparator);

  // Reads the next record; false at the end. Throws EInputError for a wrong number of fields.
  bool Next();

  std::string_view Text(int column) const { return FFields[column]; }
  // Decimal digits, at most nine; "" only when `optional`, which reads as 0.
  int Number(int column, bool optional = false) const;
  // One of the codes 0..`highest`.
  int Code(int column, int highest) const;
  // Exactly five digits.
  std::string_view Postcode(int column) const;

  std::int64_t LineNumber() const { return FLines.Number(); }
  [[noreturn]] void Fail(const std::string& reason) const { FLines.Fail(reason); }
  [[noreturn]] void FailColumn(int column, const std::string& what) const;

 private:
  TTextLines& FLines;
  std::vector<std::string_view> FColumns;
  bool FClosingSeparator;
  std::vector<std::string_view> FFields;
};

// The fields of a line split at every `separator`; "a||b" has three.
void SplitFields(std::string_view line, char separator, std::vector<std::string_view>& fields);

}  // namespace postcodedb
