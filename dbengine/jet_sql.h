#pragma once

#include <string>
#include <vector>

namespace dbengine {

// Rewrites one statement of the Jet dialect into SQLite's: `Counter` columns (with or without
// `Primary Key`) become auto-numbered integer keys, the literals TRUE and FALSE become 1 and 0,
// and a closing ';' is dropped. Declared types LONG, DATETIME, YesNo and TEXT(n) are kept
// verbatim, so a field read back knows its kind and size. Text inside quotes and :name
// placeholders are never touched.
std::string TranslateJetSql(const std::string& jetSql);

// The names of the statement's :name placeholders (without the colon), each once, in the order
// they first appear; a colon inside quotes or a comment is no placeholder.
std::vector<std::string> ParameterNames(const std::string& jetSql);

}  // namespace dbengine
