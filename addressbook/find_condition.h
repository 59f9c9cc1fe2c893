#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace addressbook {

// The columns the find box looks in.
inline constexpr std::string_view kFindColumns[] = {"이름",     "회사", "주소",  "상세주소",
                                                    "우편번호", "전화", "휴대폰"};

// Words after this many add nothing but length to the statement (SQLite refuses an expression
// nested much deeper); later ones are left out.
inline constexpr std::size_t kMaxFindWords = 32;

// A condition for the WHERE clause of a statement over the address table, with named
// parameters (":w1") whose values are bound, never spliced into the text.
struct FindCondition {
  std::string Sql;  // empty when the find box holds no word: every record shows
  std::vector<std::pair<std::string, std::string>> Parameters;  // name with its ':', value

  bool operator==(const FindCondition&) const = default;
};

// The words of the find box's text: what stands between blanks (the full-width blank of Korean
// input included), each once, at most kMaxFindWords of them.
std::vector<std::string> FindWords(std::string_view text);

// Holds for a record when every word of `text` is part of at least one of the find columns.
// Each word is taken literally: '%', '_' and '\' are escaped for LIKE (ESCAPE '\'), and a quote
// is just a character of a bound value. Latin letters match in either case, as SQLite's LIKE
// compares ASCII letters; other letters match as typed. A word of digits and hyphens (a
// telephone number or a postcode, 010-1234 or 0101234) also matches 전화, 휴대폰 and 우편번호
// with their hyphens and blanks taken out on both sides.
FindCondition FindConditionFor(std::string_view text);

}  // namespace addressbook
