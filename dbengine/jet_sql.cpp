#include "dbengine/jet_sql.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "dbengine/jet_tokens.h"
#include "platform/ascii_case.h"

namespace dbengine {
namespace {

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
  const std::vector<Token> tokens = WithoutClosingSemicolon(Tokenize(jetSql));
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
