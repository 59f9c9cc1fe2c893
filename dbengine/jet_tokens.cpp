#include "dbengine/jet_tokens.h"

#include <algorithm>
#include <cctype>

#include "platform/ascii_case.h"

namespace dbengine {
namespace {

// Bytes of a word: ASCII letters, digits, '_' and every byte of a multi-byte UTF-8 character, so
// unquoted Korean identifiers are words.
bool IsWordByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || std::isalnum(u) || c == '_' || c == '$';
}

std::size_t EndOfQuoted(const std::string& sql, std::size_t start) {
  const char open = sql[start];
  const char close = open == '[' ? ']' : open;
  std::size_t pos = start + 1;
  while (pos < sql.size()) {
    if (sql[pos] == close) {
      if (close != ']' && pos + 1 < sql.size() && sql[pos + 1] == close) {
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    ++pos;
  }
  return sql.size();
}

}  // namespace

std::vector<Token> Tokenize(const std::string& sql) {
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (pos < sql.size()) {
    const char c = sql[pos];
    std::size_t end = pos + 1;
    TokenKind kind = TokenKind::Other;
    if (c == '\'' || c == '"' || c == '[' || c == '`') {
      kind = TokenKind::Quoted;
      end = EndOfQuoted(sql, pos);
    } else if (c == '-' && end < sql.size() && sql[end] == '-') {
      kind = TokenKind::Comment;
      end = std::min(sql.find('\n', pos), sql.size());
    } else if (c == '/' && end < sql.size() && sql[end] == '*') {
      kind = TokenKind::Comment;
      const std::size_t close = sql.find("*/", pos + 2);
      end = close == std::string::npos ? sql.size() : close + 2;
    } else if (c == ':' && end < sql.size() && sql[end] == ':') {
      // A server's cast, not a placeholder.
      end = pos + 2;
    } else if (c == '?') {
      kind = TokenKind::Positional;
      while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end]))) ++end;
    } else if (c == ':' && end < sql.size() && IsWordByte(sql[end])) {
      // A :name placeholder: never a word of the dialect, whatever its name.
      kind = TokenKind::Parameter;
      while (end < sql.size() && IsWordByte(sql[end])) ++end;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      kind = TokenKind::Blank;
      while (end < sql.size() && std::isspace(static_cast<unsigned char>(sql[end]))) ++end;
    } else if (IsWordByte(c)) {
      kind = TokenKind::Word;
      while (end < sql.size() && IsWordByte(sql[end])) ++end;
    }
    tokens.push_back({kind, sql.substr(pos, end - pos)});
    pos = end;
  }
  return tokens;
}

bool IsWord(const Token& token, const char* word) {
  return token.Kind == TokenKind::Word && platform::SameText(token.Text, word);
}

bool Significant(const Token& token) {
  return token.Kind != TokenKind::Blank && token.Kind != TokenKind::Comment;
}

std::size_t NextSignificant(const std::vector<Token>& tokens, std::size_t index) {
  do {
    ++index;
  } while (index < tokens.size() && !Significant(tokens[index]));
  return index;
}

// The tokens without the closing ';' and anything blank around it.
std::vector<Token> WithoutClosingSemicolon(std::vector<Token> tokens) {
  const auto dropTrailingBlanks = [&tokens] {
    while (!tokens.empty() && !Significant(tokens.back())) tokens.pop_back();
  };
  dropTrailingBlanks();
  if (!tokens.empty() && tokens.back().Text == ";") {
    tokens.pop_back();
    dropTrailingBlanks();
  }
  return tokens;
}

}  // namespace dbengine
