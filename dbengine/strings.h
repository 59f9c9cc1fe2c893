#pragma once

#include <functional>
#include <string>
#include <vector>

namespace dbengine {

// A list of text lines, as a query keeps its statement.
class TStrings {
 public:
  void Clear();
  void Add(const std::string& line);
  int Count() const { return static_cast<int>(FLines.size()); }
  const std::string& operator[](int index) const { return FLines.at(index); }
  // The lines joined, each ended by a line feed.
  std::string Text() const;

  // Told after every change of the lines.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }

  std::vector<std::string> FLines;
};

}  // namespace dbengine
