#include "dbengine/strings.h"

namespace dbengine {

std::string TStrings::Text() const {
  std::string text;
  for (const std::string& line : FLines) {
    text += line;
    text += '\n';
  }
  return text;
}

}  // namespace dbengine
