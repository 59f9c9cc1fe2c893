#pragma once

#include <string>
#include <vector>

namespace dbengine {

// A list of text lines, as a query keeps its statement.
class TStrings {
 public:
  void Clear() { FLines.clear(); }
  void Add(const std::string& line) { FLines.push_back(line); }
  int Count() const { return static_cast<int>(FLines.size()); }
  const std::string& operator[](int index) const { return FLines.at(index); }
  // The lines joined, each ended by a line feed.
  std::string Text() const;

 private:
  std::vector<std::string> FLines;
};

}  // namespace dbengine
