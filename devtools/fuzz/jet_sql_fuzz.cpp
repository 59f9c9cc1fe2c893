// The Jet-dialect translation: any statement translates without harm, text inside quotes is
// never touched, and the :name placeholders found in any text survive the translation.
#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/jet_sql.h"
#include "devtools/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string translated = dbengine::TranslateJetSql(text);
  for (const std::string& name : dbengine::ParameterNames(text))
    FUZZ_CHECK(translated.find(":" + name) != std::string::npos);

  std::string literal = "'";
  for (char c : text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  literal += "'";
  const std::string statement = "SELECT " + literal + " FROM addr_rec WHERE 선택=TRUE";
  FUZZ_CHECK(dbengine::TranslateJetSql(statement) ==
             "SELECT " + literal + " FROM addr_rec WHERE 선택=1");
  // A colon inside the quotes is text, never a placeholder.
  FUZZ_CHECK(dbengine::ParameterNames(statement + " AND 이름=:name") ==
             std::vector<std::string>{"name"});
  return 0;
}
