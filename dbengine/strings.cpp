#include "dbengine/strings.h"

namespace dbengine {

void TStrings::Clear() {
  FLines.clear();
  Changed();
}

void TStrings::Add(const std::string& line) {
  FLines.push_back(line);
  Changed();
}

std::string TStrings::Text() const {
  std::string text;
  for (const std::string& line : FLines) {
    text += line;
    text += '\n';
  }
  return text;
}

}  // namespace dbengine
