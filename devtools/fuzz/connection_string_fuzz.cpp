// The connection-string parser: any text parses or is refused with the data layer's error, and
// what parses can be written back (values quoted only where the writer finds it needed) and
// parses to the same properties.
#include <cstdint>
#include <string>

#include "dbengine/connection_string.h"
#include "dbengine/errors.h"
#include "devtools/fuzz/fuzz_check.h"

namespace {

std::string KeyText(const std::string& key) {
  std::string text;
  for (char c : key) text += c == '=' ? std::string("==") : std::string(1, c);
  return text;
}

bool SameProperties(const dbengine::TConnectionProperties& a,
                    const dbengine::TConnectionProperties& b) {
  if (a.size() != b.size()) return false;
  for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
    if (i->first != j->first || i->second != j->second) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  dbengine::TConnectionProperties properties;
  try {
    properties = dbengine::ParseConnectionString(text);
  } catch (const dbengine::EDatabaseError&) {
    return 0;
  }
  std::string rebuilt;
  for (const auto& [key, value] : properties) {
    FUZZ_CHECK(!key.empty());
    rebuilt += KeyText(key) + "=" + dbengine::ConnectionStringValue(value) + ";";
  }
  FUZZ_CHECK(SameProperties(dbengine::ParseConnectionString(rebuilt), properties));
  return 0;
}
