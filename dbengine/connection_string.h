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

// A value written so that ParseConnectionString reads it back as it is: unquoted where it can be,
// else in double quotes with its quotes doubled (a ';' or a quote in it, or blanks at either end,
// which the parser would trim).
std::string ConnectionStringValue(const std::string& value);
// The value in double quotes whatever it holds, its quotes doubled.
std::string QuotedConnectionStringValue(const std::string& value);

}  // namespace dbengine
