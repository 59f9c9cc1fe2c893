#include "postcodedb/query.h"

#include <algorithm>

#include "postcodedb/address_row.h"
#include "postcodedb/name_key.h"
#include "postcodedb/sido.h"

namespace postcodedb {
namespace {

using TWords = std::vector<std::string>;

// Longer than any building or lot number; a longer run of digits is not one.
constexpr std::size_t kMaxNumberDigits = 5;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Names start with a letter; a word starting with a digit is a number or a detail ("101동").
bool StartsLikeAName(std::string_view word) {
  return !word.empty() && !IsDigit(word[0]);
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A name ending in `suffix` and not being only the suffix.
bool EndsWithAfterSomething(std::string_view word, std::string_view suffix) {
  return word.size() > suffix.size() && word.ends_with(suffix);
}

bool IsRoadName(std::string_view word) {
  return StartsLikeAName(word) &&
         (EndsWithAfterSomething(word, "로") || EndsWithAfterSomething(word, "길"));
}

// 동, 리, and the numbered 가 (종로1가, 인현동2가).
bool IsAreaName(std::string_view word) {
  if (!StartsLikeAName(word)) return false;
  if (EndsWithAfterSomething(word, "동") || EndsWithAfterSomething(word, "리")) return true;
  return word.size() > 4 && word.ends_with("가") && IsDigit(word[word.size() - 4]);
}

bool IsSigunguName(std::string_view word) {
  return StartsLikeAName(word) &&
         (EndsWithAfterSomething(word, "시") || EndsWithAfterSomething(word, "군") ||
          EndsWithAfterSomething(word, "구"));
}

bool IsBareSuffix(std::string_view word) {
  return word == "로" || word == "길" || word == "대로" || word == "번길";
}

// "8길", "254번길": the numbered side road of the road before it.
bool IsSideRoadSuffix(std::string_view word) {
  std::size_t digits = 0;
  while (digits < word.size() && IsDigit(word[digits])) ++digits;
  if (digits == 0) return false;
  const std::string_view rest = word.substr(digits);
  return rest == "길" || rest == "번길";
}

// "1가" after 종로 or 인현동.
bool IsGaSuffix(std::string_view word) {
  return word.size() > 3 && word.ends_with("가") && AllDigits(word.substr(0, word.size() - 3));
}

bool Glues(std::string_view before, std::string_view word) {
  if (IsBareSuffix(word)) return true;
  const bool afterRoad = before.ends_with("로") || before.ends_with("길");
  if (IsSideRoadSuffix(word)) return afterRoad;
  if (IsGaSuffix(word)) return before.ends_with("로") || before.ends_with("동");
  return false;
}

// Words of the query with the pieces of one road or 가 name joined again.
TWords GluedWords(std::string_view text) {
  TWords glued;
  for (std::string& word : BlankSeparatedWords(text)) {
    while (!glued.empty() && Glues(glued.back(), word)) {
      word = glued.back() + word;
      glued.pop_back();
    }
    glued.push_back(std::move(word));
  }
  return glued;
}

// "논현로508" → "논현로", "508"; "개포동산12-3" → "개포동", "산12-3"; "논현동12번지" → "논현동",
// "12번지".
TWords SplitAttachedNumbers(TWords words) {
  TWords split;
  for (std::string& word : words) {
    std::size_t end = word.size();  // of the digits, before a 번지 or 번 after them
    for (std::string_view suffix : {"번지", "번"}) {
      if (word.ends_with(suffix) && word.size() > suffix.size() &&
          IsDigit(word[word.size() - suffix.size() - 1])) {
        end -= suffix.size();
        break;
      }
    }
    std::size_t start = end;
    while (start > 0 && (IsDigit(word[start - 1]) || word[start - 1] == '-')) --start;
    if (start == end || start == 0) {
      split.push_back(std::move(word));
      continue;
    }
    std::string stem = word.substr(0, start);
    std::string number = word.substr(start);
    if (stem.ends_with("산") && IsAreaName(stem.substr(0, stem.size() - 3))) {
      number = "산" + number;
      stem.resize(stem.size() - 3);
    }
    if (IsRoadName(stem) || IsAreaName(stem)) {
      split.push_back(std::move(stem));
      split.push_back(std::move(number));
    } else {
      split.push_back(std::move(word));
    }
  }
  return split;
}

std::optional<int> ParseDigits(std::string_view text) {
  if (!AllDigits(text) || text.size() > kMaxNumberDigits) return std::nullopt;
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

// "508", "55-5", "167-24번지", "12번".
std::optional<TQueryNumber> ParseNumber(std::string_view text) {
  for (std::string_view suffix : {"번지", "번"}) {
    if (text.ends_with(suffix)) {
      text.remove_suffix(suffix.size());
      break;
    }
  }
  const std::size_t dash = text.find('-');
  TQueryNumber number;
  const std::optional<int> main = ParseDigits(text.substr(0, dash));
  if (!main) return std::nullopt;
  number.Main = *main;
  if (dash != std::string_view::npos) {
    number.Sub = ParseDigits(text.substr(dash + 1));
    if (!number.Sub) return std::nullopt;
  }
  return number;
}

// The number after a road or area name, from words[next] on, with its 지하 or 산 mark (set only
// when a number follows it).
void ReadNumber(const TWords& words, std::size_t next, std::string_view mark, bool& marked,
                std::optional<TQueryNumber>& number) {
  if (next >= words.size()) return;
  std::string_view word = words[next];
  bool hasMark = false;
  if (word == mark && next + 1 < words.size()) {
    hasMark = true;
    word = words[next + 1];
  } else if (word.starts_with(mark)) {
    hasMark = true;
    word.remove_prefix(mark.size());
  }
  number = ParseNumber(word);
  marked = hasMark && number.has_value();
}

void ReadRegion(TWords& words, TQuery& query) {
  std::size_t used = 0;
  if (used < words.size()) {
    query.SidoKey = SidoKey(words[used]);
    if (!query.SidoKey.empty()) ++used;
  }
  while (used < words.size() && query.Sigungu.size() < 2 && IsSigunguName(words[used])) {
    query.Sigungu.push_back(NameKey(words[used++]));
  }
  if (used < words.size() && StartsLikeAName(words[used]) && IsEupmyeonName(words[used])) {
    query.Eupmyeon = words[used++];
  }
  words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(used));
}

void ReadPoBox(const TWords& words, TQuery& query) {
  std::size_t next = 0;
  do {
    query.Name += words[next];
  } while (words[next++].find("사서함") == std::string::npos);
  query.Kind = TQueryKind::PoBox;
  query.Name = NameKey(query.Name);
  if (next < words.size()) query.Number = ParseNumber(words[next]);
}

void ReadBuildingName(const TWords& words, TQuery& query) {
  query.Kind = TQueryKind::Building;
  std::string name = words[0];
  for (std::size_t i = 1; i < words.size() && StartsLikeAName(words[i]); ++i) name += words[i];
  query.Name = NameKey(name);
}

}  // namespace

TQuery ParseQuery(std::string_view text) {
  TQuery query;
  text = text.substr(0, text.find('('));
  TWords words = SplitAttachedNumbers(GluedWords(text));
  ReadRegion(words, query);
  const bool narrowed = !query.SidoKey.empty() || !query.Sigungu.empty() || !query.Eupmyeon.empty();
  if (words.empty()) {
    query.Kind = narrowed ? TQueryKind::Region : TQueryKind::Empty;
    return query;
  }
  const std::string& first = words[0];
  if (words.size() == 1 && first.size() == 5 && AllDigits(first)) {
    query.Kind = TQueryKind::Postcode;
    query.Postcode = first;
  } else if (std::any_of(words.begin(), words.end(), [](const std::string& word) {
               return word.find("사서함") != std::string::npos;
             })) {
    ReadPoBox(words, query);
  } else if (IsAreaName(first)) {
    query.Kind = TQueryKind::Area;
    query.Name = NameKey(first);
    ReadNumber(words, 1, "산", query.Mountain, query.Number);
  } else if (IsRoadName(first)) {
    query.Kind = TQueryKind::Road;
    query.Name = NameKey(first);
    ReadNumber(words, 1, "지하", query.Underground, query.Number);
  } else {
    ReadBuildingName(words, query);
  }
  return query;
}

}  // namespace postcodedb
