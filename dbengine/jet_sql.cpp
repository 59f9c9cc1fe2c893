#include "dbengine/jet_sql.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/ascii_case.h"

namespace dbengine {
namespace {

enum class TokenKind { Word, Quoted, Parameter, Blank, Comment, Other };

struct Token {
  TokenKind Kind;
  std::string Text;
};

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

// Index of the next significant token after `index`, or tokens.size().
std::size_t NextSignificant(const std::vector<Token>& tokens, std::size_t index) {
  do {
    ++index;
  } while (index < tokens.size() && !Significant(tokens[index]));
  return index;
}

bool DefinesColumns(const std::vector<Token>& tokens) {
  const std::size_t first = NextSignificant(tokens, static_cast<std::size_t>(-1));
  return first < tokens.size() &&
         (IsWord(tokens[first], "CREATE") || IsWord(tokens[first], "ALTER"));
}

// "Counter [Primary Key]" after a column name: SQLite's auto-numbered key. Answers the index of
// the last token the translation replaced.
std::size_t TranslateCounter(const std::vector<Token>& tokens, std::size_t index,
                             std::string& out) {
  out += "INTEGER PRIMARY KEY AUTOINCREMENT";
  const std::size_t primary = NextSignificant(tokens, index);
  if (primary < tokens.size() && IsWord(tokens[primary], "PRIMARY")) {
    const std::size_t key = NextSignificant(tokens, primary);
    if (key < tokens.size() && IsWord(tokens[key], "KEY")) return key;
  }
  return index;
}

}  // namespace

std::vector<std::string> ParameterNames(const std::string& jetSql) {
  std::vector<std::string> names;
  for (const Token& token : Tokenize(jetSql)) {
    if (token.Kind != TokenKind::Parameter) continue;
    const std::string name = token.Text.substr(1);
    if (std::none_of(names.begin(), names.end(),
                     [&name](const std::string& known) { return platform::SameText(known, name); }))
      names.push_back(name);
  }
  return names;
}

std::string TranslateJetSql(const std::string& jetSql) {
  std::vector<Token> tokens = Tokenize(jetSql);
  // The closing ';' and anything blank around it.
  const auto dropTrailingBlanks = [&tokens] {
    while (!tokens.empty() && !Significant(tokens.back())) tokens.pop_back();
  };
  dropTrailingBlanks();
  if (!tokens.empty() && tokens.back().Text == ";") {
    tokens.pop_back();
    dropTrailingBlanks();
  }

  const bool columnDefinitions = DefinesColumns(tokens);
  std::string out;
  out.reserve(jetSql.size() + 32);
  // The two significant tokens before the current one: a column's type follows its name, which
  // follows '(' or ',' (or ADD [COLUMN] in ALTER TABLE).
  const Token* previous = nullptr;
  const Token* beforePrevious = nullptr;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    const bool typePosition =
        columnDefinitions && previous != nullptr && beforePrevious != nullptr &&
        (previous->Kind == TokenKind::Word || previous->Kind == TokenKind::Quoted) &&
        (beforePrevious->Text == "(" || beforePrevious->Text == "," ||
         IsWord(*beforePrevious, "ADD") || IsWord(*beforePrevious, "COLUMN"));
    if (typePosition && (IsWord(token, "COUNTER") || IsWord(token, "AUTOINCREMENT"))) {
      i = TranslateCounter(tokens, i, out);
    } else if (IsWord(token, "TRUE")) {
      out += '1';
    } else if (IsWord(token, "FALSE")) {
      out += '0';
    } else {
      out += token.Text;
    }
    if (Significant(tokens[i])) {
      beforePrevious = previous;
      previous = &tokens[i];
    }
  }
  return out;
}

}  // namespace dbengine
