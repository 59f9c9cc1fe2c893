#pragma once

#include <string>
#include <string_view>

namespace dbengine {

// `text` between two `quote` characters, each quote inside it doubled: how a connection string
// quotes a value and SQL an identifier ('"') or a text literal ('\'').
std::string QuotedText(std::string_view text, char quote);

// A name (of a table, a column, a schema) in double quotes for a statement.
inline std::string QuotedIdentifier(std::string_view name) {
  return QuotedText(name, '"');
}

}  // namespace dbengine
