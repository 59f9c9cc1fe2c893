#include "dbengine/connection_string.h"

#include <algorithm>

#include "dbengine/errors.h"
#include "dbengine/quoting.h"
#include "platform/ascii_case.h"

namespace dbengine {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void SkipBlanks(const std::string& text, std::size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  SkipBlanks(text, begin);
  std::size_t end = text.size();
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

[[noreturn]] void Malformed(const std::string& text, std::size_t at) {
  throw EDatabaseError("The connection string is malformed near \"" + text.substr(at, 40) + "\"");
}

// Reads a key up to its '='; "==" stands for a literal '='.
std::string ReadKey(const std::string& text, std::size_t& pos) {
  const std::size_t start = pos;
  std::string key;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == '=') {
      if (pos + 1 < text.size() && text[pos + 1] == '=') {
        key += '=';
        pos += 2;
        continue;
      }
      ++pos;
      return Trimmed(key);
    }
    if (c == ';') break;
    key += c;
    ++pos;
  }
  Malformed(text, start);
}

// Reads a value up to the ';' that ends its pair (or the end of the text).
std::string ReadValue(const std::string& text, std::size_t& pos) {
  SkipBlanks(text, pos);
  if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
    const char quote = text[pos];
    const std::size_t start = pos++;
    std::string value;
    for (;;) {
      if (pos >= text.size()) Malformed(text, start);
      if (text[pos] == quote) {
        if (pos + 1 < text.size() && text[pos + 1] == quote) {
          value += quote;
          pos += 2;
          continue;
        }
        ++pos;
        break;
      }
      value += text[pos++];
    }
    SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] != ';') Malformed(text, start);
    return value;
  }
  const std::size_t end = std::min(text.find(';', pos), text.size());
  std::string value = Trimmed(text.substr(pos, end - pos));
  pos = end;
  return value;
}

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
  return platform::CompareText(a, b) < 0;
}

std::string ConnectionStringValue(const std::string& value) {
  const bool blankEnd = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  if (!blankEnd && value.find_first_of(";\"'") == std::string::npos) return value;
  return QuotedConnectionStringValue(value);
}

std::string QuotedConnectionStringValue(const std::string& value) {
  return QuotedText(value, '"');
}

TConnectionProperties ParseConnectionString(const std::string& connectionString) {
  TConnectionProperties properties;
  std::size_t pos = 0;
  while (pos < connectionString.size()) {
    SkipBlanks(connectionString, pos);
    if (pos >= connectionString.size()) break;
    if (connectionString[pos] == ';') {
      ++pos;
      continue;
    }
    const std::size_t keyStart = pos;
    std::string key = ReadKey(connectionString, pos);
    if (key.empty()) Malformed(connectionString, keyStart);
    properties[key] = ReadValue(connectionString, pos);
    if (pos < connectionString.size()) ++pos;  // the ';' after the pair
  }
  return properties;
}

}  // namespace dbengine
