#include "addressbook/find_condition.h"

#include <algorithm>

#include "addressbook/utf8_text.h"
#include "platform/utf8.h"

namespace addressbook {
namespace {

constexpr std::string_view kNumberColumns[] = {"우편번호", "전화", "휴대폰"};

bool IsNumberColumn(std::string_view column) {
  return std::find(std::begin(kNumberColumns), std::end(kNumberColumns), column) !=
         std::end(kNumberColumns);
}

// The word as a LIKE pattern that finds it anywhere in a value.
std::string ContainsPattern(std::string_view word) {
  std::string pattern = "%";
  for (char c : word) {
    if (c == '%' || c == '_' || c == '\\') pattern.push_back('\\');
    pattern.push_back(c);
  }
  pattern.push_back('%');
  return pattern;
}

// The digits of a word made of digits and hyphens only; empty for any other word.
std::string NumberDigits(std::string_view word) {
  std::string digits;
  for (char c : word) {
    if (c >= '0' && c <= '9') {
      digits.push_back(c);
    } else if (c != '-') {
      return {};
    }
  }
  return digits;
}

std::string Like(std::string_view column, const std::string& parameter) {
  return std::string(column) + " LIKE " + parameter + " ESCAPE '\\'";
}

std::string LikeWithoutHyphensAndBlanks(std::string_view column, const std::string& parameter) {
  return "REPLACE(REPLACE(" + std::string(column) + ",'-',''),' ','') LIKE " + parameter +
         " ESCAPE '\\'";
}

}  // namespace

std::vector<std::string> FindWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  auto finishWord = [&] {
    if (!word.empty() && words.size() < kMaxFindWords &&
        std::find(words.begin(), words.end(), word) == words.end())
      words.push_back(word);
    word.clear();
  };
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (IsBlank(platform::NextCodePoint(text, pos))) {
      finishWord();
    } else {
      word.append(text, start, pos - start);
    }
  }
  finishWord();
  return words;
}

FindCondition FindConditionFor(std::string_view text) {
  FindCondition condition;
  std::size_t number = 0;
  for (const std::string& word : FindWords(text)) {
    ++number;
    const std::string wordParameter = ":w" + std::to_string(number);
    condition.Parameters.emplace_back(wordParameter, ContainsPattern(word));
    const std::string digits = NumberDigits(word);
    const std::string digitsParameter = ":n" + std::to_string(number);
    if (!digits.empty())
      condition.Parameters.emplace_back(digitsParameter, ContainsPattern(digits));

    std::string any;
    for (std::string_view column : kFindColumns) {
      if (!any.empty()) any += " OR ";
      any += !digits.empty() && IsNumberColumn(column)
                 ? LikeWithoutHyphensAndBlanks(column, digitsParameter)
                 : Like(column, wordParameter);
    }
    if (!condition.Sql.empty()) condition.Sql += " AND ";
    condition.Sql += "(" + any + ")";
  }
  return condition;
}

}  // namespace addressbook
