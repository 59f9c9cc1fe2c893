#pragma once

#include <cstddef>
#include <string_view>

namespace addressbook {

// What a text file (a spreadsheet CSV, a vCard file's values without a character set) is
// written in. Detect looks at the file's first bytes; the user may name the encoding instead.
enum class TextEncoding { Detect, Utf8, Cp949 };

// 3 when `head` starts with the UTF-8 byte-order mark, else 0.
std::size_t Utf8ByteOrderMarkLength(std::string_view head);

// Utf8 or Cp949 for a file whose first bytes are `head` (some tens of kilobytes are plenty; the
// whole file when it is shorter):
// `requested` unless it is Detect; else UTF-8 for a byte-order mark or well-formed UTF-8, code
// page 949 for text valid there, and when neither fits, the one that reads further before its
// first fault. A character cut off by the end of `head` counts against neither.
TextEncoding ChooseTextEncoding(std::string_view head, TextEncoding requested);

}  // namespace addressbook
