#include "dbengine/quoting.h"

namespace dbengine {

std::string QuotedText(std::string_view text, char quote) {
  std::string quoted(1, quote);
  quoted.reserve(text.size() + 2);
  for (char c : text) {
    quoted += c;
    if (c == quote) quoted += quote;
  }
  return quoted + quote;
}

}  // namespace dbengine
