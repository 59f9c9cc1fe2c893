#pragma once

#include <string>
#include <string_view>

namespace picklisten {

// One received pick as a line of text for a person or a script: the postcode, a tab and the
// address, both turned from code page 949 into UTF-8; with `withHex` a tab and the whole data
// block in lower-case hex follow. No line break at the end.
//
// A well-formed block is the postcode, CR LF, the address and two zero bytes. A block from some
// other sender is shown as far as it goes: without CR LF all of it is the postcode, and missing
// zero bytes are not an error. Tabs and line breaks inside the texts become blanks, so one pick
// is always one line.
std::string PickLine(std::string_view block, bool withHex);

}  // namespace picklisten
