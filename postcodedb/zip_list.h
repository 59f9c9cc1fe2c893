#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace zipdb {

// The longest text a column of the postcode table may hold, in characters.
inline constexpr int kMaxTextChars = 255;

// Length of UTF-8 text in characters, the unit TEXT(n) counts in.
std::size_t CharCount(std::string_view utf8);

// The input is not a postcode list we can read; Line is the 1-based line at fault.
class EZipListError : public platform::Exception {
 public:
  EZipListError(int line, const std::string& reason)
      : Exception("line " + std::to_string(line) + ": " + reason), Line(line) {}
  int Line;
};

// A postcode list read into memory, every value UTF-8. The first three columns are always
// 우편번호, 주소 and 읍면동; the source's further columns follow in their own order.
struct TZipList {
  std::vector<std::string> Columns;
  std::vector<std::string> Cells;  // row after row, Columns.size() values each

  std::size_t RowCount() const { return Columns.empty() ? 0 : Cells.size() / Columns.size(); }
  const std::string& Cell(std::size_t row, std::size_t column) const {
    return Cells[row * Columns.size() + column];
  }
};

// Reads either layout, told apart by the header line:
// - the postal service's list: header ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ, code page 949. 주소 is
//   SIDO, GUGUN, DONG and BUNJI joined by single blanks (empty parts left out), 읍면동 is DONG,
//   and SIDO, GUGUN, BUNJI and SEQ are kept under those names;
// - a UTF-8 list whose header names 우편번호, 주소 and 읍면동 among any further columns.
// Line ends may be LF or CRLF; blank lines are skipped. Throws EZipListError.
TZipList ReadZipList(std::string_view bytes);

}  // namespace zipdb
