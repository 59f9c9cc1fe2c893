#pragma once

#include <string>
#include <string_view>

// What a host does with the label hand-off file (code page 949, unquoted values, LF line ends).
namespace zarizehost {

// The file as a UTF-8 table for a terminal: one row per line, columns padded to the widest
// value (a Hangul syllable counts two cells), separated by " | ", a rule under the header. A
// line with more values than the header (a value that held a comma) gets more columns.
std::string HandOffTable(std::string_view cp949);

// The file as a label program's mail merge reads it: UTF-8, keys on line 1. The merge reads a
// value that starts with a double quote as a quoted one, so such a value is quoted, its quotes
// doubled; every other value goes as it is, but for its backslashes, which the merge reads as
// escapes and which therefore go doubled.
std::string MergeText(std::string_view cp949);

// Terminal cells the UTF-8 text takes: two for wide (East Asian) characters, one for others.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace zarizehost
