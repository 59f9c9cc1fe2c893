#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace postcodedb {

// The form in which names are compared, for the names a database stores and the ones a query
// gives alike: every blank removed (so "중동로 254번길" is "중동로254번길" and "논현 e편한세상" is
// "논현e편한세상") and ASCII letters in lower case.
std::string NameKey(std::string_view text);

// Splits text at blanks (space, tab, line ends, no-break and ideographic spaces), dropping
// empty words.
std::vector<std::string> BlankSeparatedWords(std::string_view text);

}  // namespace postcodedb
