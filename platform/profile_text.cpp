#include "platform/profile_text.h"

#include "platform/ascii_case.h"

namespace platform {
namespace {

std::string_view Trim(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
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

// Walks the file line by line, one line in hand at a time, so that no file costs more memory
// than its own bytes.
class LineWalk {
 public:
  LineWalk(std::string_view content, std::string_view section)
      : FContent(content), FSection(section) {}

  // The next line, or false at the end of the file.
  bool Next() {
    if (FStart >= FContent.size()) return false;
    Current = ParseLine(FContent, FStart);
    FStart = Current.end;
    if (Current.kind == LineKind::Section) InSection = SameText(Current.name, FSection);
    return true;
  }

  Line Current{};
  bool InSection = false;  // whether the current line lies in a section named `section`

 private:
  std::string_view FContent;
  std::string_view FSection;
  std::size_t FStart = 0;
};

std::string_view LineEndOf(std::string_view content) {
  std::size_t newline = content.find('\n');
  return newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r' ? "\r\n"
                                                                                          : "\n";
}

}  // namespace

std::optional<std::string_view> FindProfileValue(std::string_view content, std::string_view section,
                                                 std::string_view key) {
  for (LineWalk walk(content, section); walk.Next();) {
    if (walk.InSection && walk.Current.kind == LineKind::Key && SameText(walk.Current.name, key)) {
      return walk.Current.value;
    }
  }
  return std::nullopt;
}

std::string SetProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value) {
  const std::string_view eol = LineEndOf(content);
  std::string result;

  // Where a new key goes: after the last key line (or the header) of the first section.
  std::optional<std::size_t> insertAt;
  bool firstSectionOver = false;
  for (LineWalk walk(content, section); walk.Next();) {
    const Line& line = walk.Current;
    if (!walk.InSection) {
      firstSectionOver = firstSectionOver || insertAt.has_value();
      continue;
    }
    if (line.kind == LineKind::Key && SameText(line.name, key)) {
      result.reserve(content.size() - (line.contentEnd - line.start) + key.size() + 1 +
                     value.size());
      result.append(content.substr(0, line.start)).append(key).append("=").append(value);
      result.append(content.substr(line.contentEnd));
      return result;
    }
    if (!firstSectionOver &&
        (line.kind == LineKind::Section ? !insertAt.has_value() : line.kind == LineKind::Key)) {
      insertAt = line.end;
    }
  }

  const std::size_t at = insertAt.value_or(content.size());
  result.reserve(content.size() + section.size() + key.size() + value.size() + 3 + 3 * eol.size());
  result.append(content.substr(0, at));
  if (!result.empty() && result.back() != '\n') result.append(eol);
  if (!insertAt) result.append("[").append(section).append("]").append(eol);
  result.append(key).append("=").append(value).append(eol);
  result.append(content.substr(at));
  return result;
}

}  // namespace platform
