// The Jet-dialect translation: any statement translates without harm, and text inside quotes
// is never touched.
#include <cstdint>
#include <string>

#include "dbengine/jet_sql.h"
#include "devtools/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  dbengine::TranslateJetSql(text);

  std::string literal = "'";
  for (char c : text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  literal += "'";
  const std::string statement = "SELECT " + literal + " FROM addr_rec WHERE 선택=TRUE";
  FUZZ_CHECK(dbengine::TranslateJetSql(statement) ==
             "SELECT " + literal + " FROM addr_rec WHERE 선택=1");
  return 0;
}
