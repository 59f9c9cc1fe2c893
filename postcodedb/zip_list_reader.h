#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "postcodedb/address_row.h"
#include "postcodedb/file_source.h"
#include "postcodedb/six_digit_reader.h"
#include "postcodedb/text_lines.h"

namespace postcodedb {

// The longest text a column of the lookup's postcode table may hold, in characters.
inline constexpr std::size_t kMaxZipTextChars = 255;

// A postcode list for the lookup's table, read a row at a time from a file; only the current line
// is in memory. Either layout, told apart by the header line:
// - the postal service's six-digit list (kSixDigitHeader, code page 949), read by
//   TSixDigitReader: 주소 is SIDO, GUGUN, DONG and BUNJI joined by single blanks (empty parts
//   left out), 읍면동 is DONG, and SIDO, GUGUN, BUNJI and SEQ are kept under those names;
// - a UTF-8 list whose header names 우편번호, 주소 and 읍면동 among any further columns.
// The first three columns are always 우편번호, 주소 and 읍면동; the source's further columns
// follow in their own order. Line ends may be LF or CRLF; blank lines are skipped.
class ZipListReader {
 public:
  // Opens the list and reads its header. Throws EInputError naming the file and the line.
  explicit ZipListReader(const std::string& path);

  const std::vector<std::string>& Columns() const { return FColumns; }

  // The next row's values, one per column; false at the end. Throws EInputError for a line that
  // is not a row of the list: a wrong number of fields, an empty postcode, a value longer than
  // kMaxZipTextChars, text not in the list's encoding.
  bool Next(std::vector<std::string>& values);

 private:
  void ReadPlainHeader(const std::string& path);
  bool NextSixDigit(std::vector<std::string>& values);
  bool NextPlain(std::vector<std::string>& values);
  void CheckLengths(const std::vector<std::string>& values, std::int64_t line) const;

  std::string FPath;
  std::vector<std::string> FColumns;
  // The six-digit list.
  std::unique_ptr<TSixDigitReader> FSixDigit;
  TAddressRow FRow;
  // A list that names its columns: the source field of each column, in the columns' order.
  std::unique_ptr<TFileSource> FSource;
  std::unique_ptr<TTextLines> FLines;
  std::vector<std::size_t> FOrder;
  std::vector<std::string> FFields;
};

}  // namespace postcodedb
