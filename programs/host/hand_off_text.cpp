#include "programs/host/hand_off_text.h"

#include <algorithm>
#include <vector>

#include "platform/cp949.h"

namespace zarizehost {

namespace {

using TRows = std::vector<std::vector<std::string>>;

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    std::size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// The lines of the file, each split at every comma; the last line end closes the last line.
TRows Rows(std::string_view cp949) {
  std::string text = platform::FromCp949(cp949);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  TRows rows;
  if (text.empty()) return rows;
  for (const std::string& line : Split(text, '\n')) rows.push_back(Split(line, ','));
  return rows;
}

bool Wide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

}  // namespace

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    width += Wide(c) ? 2 : 1;
    i += length;
  }
  return width;
}

std::string HandOffTable(std::string_view cp949) {
  const TRows rows = Rows(cp949);
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
  }
  auto line = [&](const std::vector<std::string>& row) {
    std::string text;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) text += " | ";
      text += row[c];
      if (c + 1 < row.size()) text.append(widths[c] - DisplayWidth(row[c]), ' ');
    }
    return text + '\n';
  };
  std::string table;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    table += line(rows[r]);
    if (r > 0) continue;
    for (std::size_t c = 0; c < widths.size(); ++c) {
      if (c > 0) table += "-+-";
      table.append(widths[c], '-');
    }
    table += '\n';
  }
  return table;
}

std::string MergeText(std::string_view cp949) {
  std::string text;
  for (const auto& row : Rows(cp949)) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) text += ',';
      const bool quoted = row[c].starts_with('"');
      if (quoted) text += '"';
      for (char ch : row[c]) {
        // The merge reads "\n" and "\t" as a line break and a tab, and Korean keyboards type the
        // won sign as a backslash: every backslash goes doubled so it prints as typed.
        if (ch == '\\') text += '\\';
        if (ch == '"' && quoted) text += '"';
        text += ch;
      }
      if (quoted) text += '"';
    }
    text += '\n';
  }
  return text;
}

}  // namespace zarizehost
