#include "platform/profile_text.h"

#include <vector>

namespace platform {
namespace {

std::string_view Trim(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

enum class LineKind { Other, Section, Key };

struct Line {
  std::size_t start;       // offset of the first byte
  std::size_t contentEnd;  // offset where the line end (CR LF or LF) starts
  std::size_t end;         // offset after the line end
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name
  std::string_view value;  // a key's value
};

Line ParseLine(std::string_view content, std::size_t start) {
  Line line{start, content.size(), content.size(), LineKind::Other, {}, {}};
  std::size_t newline = content.find('\n', start);
  if (newline != std::string_view::npos) {
    line.end = newline + 1;
    line.contentEnd = newline > start && content[newline - 1] == '\r' ? newline - 1 : newline;
  }
  std::string_view text = Trim(content.substr(start, line.contentEnd - start));
  if (text.empty() || text.front() == ';' || text.front() == '#') return line;
  if (text.front() == '[') {
    line.kind = LineKind::Section;
    line.name = Trim(text.substr(1, text.find(']') - 1));
  } else if (std::size_t equals = text.find('='); equals != std::string_view::npos) {
    line.kind = LineKind::Key;
    line.name = Trim(text.substr(0, equals));
    line.value = Trim(text.substr(equals + 1));
  }
  return line;
}

// Lines of the file, each tagged with whether it lies in a section named `section`.
struct Walk {
  std::vector<Line> lines;
  std::vector<bool> inSection;
};

Walk WalkLines(std::string_view content, std::string_view section) {
  Walk walk;
  bool inside = false;
  for (std::size_t start = 0; start < content.size();) {
    Line line = ParseLine(content, start);
    if (line.kind == LineKind::Section) inside = SameName(line.name, section);
    walk.lines.push_back(line);
    walk.inSection.push_back(inside);
    start = line.end;
  }
  return walk;
}

std::string_view LineEndOf(std::string_view content) {
  std::size_t newline = content.find('\n');
  return newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r' ? "\r\n"
                                                                                          : "\n";
}

}  // namespace

std::optional<std::string_view> FindProfileValue(std::string_view content, std::string_view section,
                                                 std::string_view key) {
  Walk walk = WalkLines(content, section);
  for (std::size_t i = 0; i < walk.lines.size(); ++i) {
    const Line& line = walk.lines[i];
    if (walk.inSection[i] && line.kind == LineKind::Key && SameName(line.name, key)) {
      return line.value;
    }
  }
  return std::nullopt;
}

std::string SetProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value) {
  const std::string_view eol = LineEndOf(content);
  const std::string entry = std::string(key) + "=" + std::string(value);
  Walk walk = WalkLines(content, section);

  std::optional<std::size_t> insertAfter;  // last key line (or the header) of the first section
  bool firstSectionOver = false;
  for (std::size_t i = 0; i < walk.lines.size(); ++i) {
    const Line& line = walk.lines[i];
    if (!walk.inSection[i]) {
      firstSectionOver = firstSectionOver || insertAfter.has_value();
      continue;
    }
    if (line.kind == LineKind::Key && SameName(line.name, key)) {
      return std::string(content.substr(0, line.start)) + entry +
             std::string(content.substr(line.contentEnd));
    }
    if (!firstSectionOver &&
        (line.kind == LineKind::Section ? !insertAfter.has_value() : line.kind == LineKind::Key)) {
      insertAfter = i;
    }
  }

  std::string result;
  std::size_t at = content.size();
  if (insertAfter) at = walk.lines[*insertAfter].end;
  result.append(content.substr(0, at));
  if (!result.empty() && result.back() != '\n') result.append(eol);
  if (!insertAfter) result.append("[").append(section).append("]").append(eol);
  result.append(entry).append(eol);
  result.append(content.substr(at));
  return result;
}

}  // namespace platform
