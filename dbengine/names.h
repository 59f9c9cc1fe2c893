#pragma once

#include <string_view>

namespace dbengine {

// Whether two names of columns, tables or parameters are the same: ASCII letters match without
// regard to case, every other byte (Hangul included) exactly.
bool SameName(std::string_view a, std::string_view b);

}  // namespace dbengine
