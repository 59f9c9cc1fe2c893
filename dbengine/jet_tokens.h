#pragma once

// Internal to this layer: the tokens of a statement of the Jet dialect, as its translations into
// the storages' dialects read them.

#include <cstddef>
#include <string>
#include <vector>

namespace dbengine {

enum class TokenKind { Word, Quoted, Parameter, Positional, Blank, Comment, Other };

struct Token {
  TokenKind Kind;
  std::string Text;
};

// Words are ASCII letters, digits, '_', '$' and every byte of a multi-byte UTF-8 character, so
// unquoted Korean identifiers are words. Text in quotes (', ", [], `) is one token; so are a
// comment, a :name placeholder, a ?N placeholder and a run of blanks. A "::" is no placeholder.
std::vector<Token> Tokenize(const std::string& sql);

// Whether the token is this word (given in upper case), without regard to ASCII case.
bool IsWord(const Token& token, const char* word);
// Neither blank nor a comment.
bool Significant(const Token& token);
// Index of the next significant token after `index`, or tokens.size().
std::size_t NextSignificant(const std::vector<Token>& tokens, std::size_t index);
// The tokens without the closing ';' and anything blank around it.
std::vector<Token> WithoutClosingSemicolon(std::vector<Token> tokens);

}  // namespace dbengine
