#include "postcodedb/name_key.h"

namespace postcodedb {
namespace {

// Length of the blank at the start of `text`, 0 when it starts with anything else.
std::size_t BlankLength(std::string_view text) {
  if (text.empty()) return 0;
  const char c = text[0];
  if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') return 1;
  if (text.starts_with("\xC2\xA0")) return 2;      // U+00A0
  if (text.starts_with("\xE3\x80\x80")) return 3;  // U+3000
  return 0;
}

}  // namespace

std::string NameKey(std::string_view text) {
  std::string key;
  key.reserve(text.size());
  while (!text.empty()) {
    if (const std::size_t blank = BlankLength(text)) {
      text.remove_prefix(blank);
      continue;
    }
    const char c = text[0];
    key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    text.remove_prefix(1);
  }
  return key;
}

std::vector<std::string> BlankSeparatedWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  while (!text.empty()) {
    if (const std::size_t blank = BlankLength(text)) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
      text.remove_prefix(blank);
      continue;
    }
    word.push_back(text[0]);
    text.remove_prefix(1);
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

}  // namespace postcodedb
