#pragma once

#include <map>
#include <string>

namespace dbengine {

// Orders keys without regard to ASCII case, as connection-string keywords are compared.
struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

using TConnectionProperties = std::map<std::string, std::string, CaseInsensitiveLess>;

// Splits a connection string into its properties: ';'-separated "key=value" pairs, blanks around
// keys and values trimmed, a value in double (or single) quotes may hold ';' and doubled quotes,
// `""` is an empty value, "==" in a key stands for '='. A later duplicate key wins. Throws
// EDatabaseError for a pair without '=' or with text after a closing quote.
TConnectionProperties ParseConnectionString(const std::string& connectionString);

}  // namespace dbengine
