#pragma once

#include <string>
#include <string_view>

namespace dbengine {

// Whether two names of columns, tables or parameters are the same: ASCII letters match without
// regard to case, every other byte (Hangul included) exactly.
bool SameName(std::string_view a, std::string_view b);

// A name in double quotes, inner quotes doubled, for a statement.
std::string QuotedIdentifier(const std::string& name);

}  // namespace dbengine
