// The Jet dialect on a database server and the numbering of placeholders: any statement
// translates without harm, text in single quotes comes through as it is, and numbering either
// numbers every placeholder within bounds or refuses the statement.
#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/errors.h"
#include "dbengine/server_sql.h"
#include "devtools/fuzz/fuzz_check.h"

namespace {

// The names a server might know: one spelt in capitals, one in Hangul.
std::string Known(const std::string& name) {
  if (name == "gid" || name == "GID" || name == "Gid") return "GID";
  if (name == "선택") return "선택";
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string translated = dbengine::TranslateJetSqlForServer(text, Known);
  std::vector<std::string> names;
  try {
    dbengine::NumberedPlaceholders(translated, names);
    FUZZ_CHECK(names.size() <= 32766);
  } catch (const dbengine::EDatabaseError&) {
    // A placeholder out of range: refused, never made room for.
  }

  std::string literal = "'";
  for (char c : text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  literal += "'";
  FUZZ_CHECK(
      dbengine::TranslateJetSqlForServer("SELECT " + literal + " FROM t WHERE gid=TRUE", Known) ==
      "SELECT " + literal + " FROM t WHERE \"GID\"=1");
  return 0;
}
