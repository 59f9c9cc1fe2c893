#include "addressbook/vcard_mapping.h"

#include <algorithm>
#include <array>
#include <set>

#include "addressbook/utf8_text.h"
#include "platform/ascii_case.h"

namespace addressbook {
namespace {

// Properties that say nothing about the person worth reporting when left out: bookkeeping of
// the writing program, and forms of what the record already holds (LABEL prints an ADR).
bool IsQuietWhenDropped(std::string_view name) {
  static constexpr std::array<std::string_view, 17> kQuiet = {
      "N",           "FN",        "PRODID",  "REV",     "UID",        "LABEL",
      "SORT-STRING", "CLASS",     "PROFILE", "NAME",    "SOURCE",     "MAILER",
      "KIND",        "X-ABLABEL", "X-ABUID", "X-ABADR", "X-ABSHOWAS",
  };
  return std::find(kQuiet.begin(), kQuiet.end(), name) != kQuiet.end();
}

std::string Part(const std::vector<std::string>& parts, std::size_t index) {
  return index < parts.size() ? CollapseBlanks(parts[index]) : std::string();
}

std::string Joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!out.empty()) out += separator;
    out += part;
  }
  return out;
}

bool IsKorea(std::string_view country) {
  static constexpr std::array<std::string_view, 9> kNames = {
      "대한민국",           "한국", "korea", "south korea", "republic of korea",
      "korea, republic of", "kr",   "kor",   "rok",
  };
  const std::string name = platform::LowerCase(TrimBlanks(country));
  return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

bool HasParts(const VCardProperty& adr) {
  const std::vector<std::string> parts = adr.Components();
  return std::any_of(parts.begin(), parts.end(),
                     [](const std::string& part) { return !TrimBlanks(part).empty(); });
}

// Which of several properties a card prefers: the strongest PREF, then (when `favoured` is
// given) one of that type, then the first.
const VCardProperty* Preferred(const std::vector<const VCardProperty*>& candidates,
                               std::string_view favoured = {}) {
  const VCardProperty* best = nullptr;
  auto rank = [&](const VCardProperty* p) {
    return std::pair(p->Preference(), favoured.empty() || p->HasType(favoured) ? 0 : 1);
  };
  for (const VCardProperty* candidate : candidates) {
    if (!best || rank(candidate) < rank(best)) best = candidate;
  }
  return best;
}

// The column a telephone number goes to, or empty for none.
std::string_view TelephoneColumn(const VCardProperty& tel) {
  const bool fax = tel.HasType("fax");
  const bool work = tel.HasType("work");
  if (fax) return work ? "회사팩스" : "팩스";
  if (tel.HasType("cell")) return "휴대폰";
  if (tel.HasType("pager")) return {};
  return work ? "회사전화" : "전화";
}

std::string TelephoneNumber(const VCardProperty& tel) {
  std::string number = CollapseBlanks(tel.Text());
  if (platform::LowerCase(number).starts_with("tel:")) number.erase(0, 4);
  return number;
}

class CardMapper {
 public:
  explicit CardMapper(const VCard& card) : FCard(card) {}

  CardRecord Map() {
    MapName();
    MapOrganisation();
    MapAddresses();
    MapTelephones();
    for (const VCardProperty& property : FCard.Properties) {
      if (property.Name == "TEL" || property.Name == "ADR") continue;  // reported with values
      if (FUsed.count(&property) || IsQuietWhenDropped(property.Name)) continue;
      if (!property.Skipped && TrimBlanks(property.Value).empty()) continue;
      DropName(property);
    }
    std::stable_sort(FDropped.begin(), FDropped.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [line, text] : FDropped) FResult.Dropped.push_back(std::move(text));
    return std::move(FResult);
  }

 private:
  void Set(std::string_view column, std::string value, const VCardProperty& from) {
    FResult.Record.SetValue(column, std::move(value));
    FUsed.insert(&from);
  }

  void MapName() {
    if (const VCardProperty* n = FCard.First("N")) {
      const std::vector<std::string> parts = n->Components();
      std::string name = PersonName(Part(parts, 0), Part(parts, 1));
      if (!name.empty()) return Set("이름", std::move(name), *n);
    }
    if (const VCardProperty* fn = FCard.First("FN")) Set("이름", CollapseBlanks(fn->Text()), *fn);
  }

  void MapOrganisation() {
    if (const VCardProperty* org = FCard.First("ORG")) {
      std::vector<std::string> parts = org->Components();
      for (std::string& part : parts) part = CollapseBlanks(part);
      Set("회사", parts.front(), *org);
      Set("부서", Joined(std::vector<std::string>(parts.begin() + 1, parts.end()), " "), *org);
    }
    if (const VCardProperty* title = FCard.First("TITLE"))
      Set("직책", CollapseBlanks(title->Text()), *title);
  }

  void MapAddresses() {
    std::vector<const VCardProperty*> addresses;
    for (const VCardProperty* adr : FCard.All("ADR")) {
      if (HasParts(*adr)) addresses.push_back(adr);
    }
    const VCardProperty* home = Preferred(addresses, "home");
    const VCardProperty* work = nullptr;
    for (const VCardProperty* adr : addresses) {
      if (adr != home && adr->HasType("work")) {
        work = adr;
        break;
      }
    }
    for (const VCardProperty* adr : addresses) {
      const PostalLines lines = PostalAddress(adr->Components());
      if (adr == home) {
        Set("우편번호", lines.Postcode, *adr);
        Set("주소", lines.Address, *adr);
        Set("상세주소", lines.Detail, *adr);
      } else if (adr == work) {
        Set("회사우편번호", lines.Postcode, *adr);
        Set("회사주소", lines.Address, *adr);
        Set("C상세주소", lines.Detail, *adr);
      } else {
        Drop(*adr, Joined({lines.Postcode, lines.Address, lines.Detail}, " "));
      }
    }
  }

  void MapTelephones() {
    std::vector<std::pair<std::string_view, std::vector<const VCardProperty*>>> byColumn;
    for (const VCardProperty* tel : FCard.All("TEL")) {
      if (TelephoneNumber(*tel).empty()) continue;
      const std::string_view column = TelephoneColumn(*tel);
      auto found = std::find_if(byColumn.begin(), byColumn.end(),
                                [&](const auto& entry) { return entry.first == column; });
      if (found == byColumn.end()) found = byColumn.insert(byColumn.end(), {column, {}});
      found->second.push_back(tel);
    }
    for (const auto& [column, tels] : byColumn) {
      const VCardProperty* chosen = column.empty() ? nullptr : Preferred(tels);
      for (const VCardProperty* tel : tels) {
        if (tel == chosen) {
          Set(column, TelephoneNumber(*tel), *tel);
        } else {
          Drop(*tel, TelephoneNumber(*tel));
        }
      }
    }
  }

  void Drop(const VCardProperty& property, const std::string& value) {
    FDropped.emplace_back(property.Line, property.Name + " " + value);
  }

  // A property reported by its name only, once for all of that name.
  void DropName(const VCardProperty& property) {
    if (FDroppedNames.insert(property.Name).second)
      FDropped.emplace_back(property.Line, property.Name);
  }

  const VCard& FCard;
  CardRecord FResult;
  std::set<const VCardProperty*> FUsed;
  std::set<std::string> FDroppedNames;
  std::vector<std::pair<int, std::string>> FDropped;  // with the line, to report in card order
};

}  // namespace

std::span<const std::string_view> CardColumns() {
  static constexpr std::array<std::string_view, 15> kColumns = {
      "이름", "우편번호", "주소",     "상세주소", "전화",         "팩스",     "휴대폰",    "회사",
      "부서", "직책",     "회사전화", "회사팩스", "회사우편번호", "회사주소", "C상세주소",
  };
  return kColumns;
}

std::string PersonName(std::string_view family, std::string_view given) {
  const std::string f = CollapseBlanks(family), g = CollapseBlanks(given);
  if (ContainsEastAsianLetter(f) || ContainsEastAsianLetter(g)) return f + g;
  return Joined({g, f}, " ");
}

PostalLines PostalAddress(const std::vector<std::string>& parts) {
  const std::string poBox = Part(parts, 0), extended = Part(parts, 1), street = Part(parts, 2),
                    locality = Part(parts, 3), region = Part(parts, 4), country = Part(parts, 6);
  PostalLines lines;
  lines.Postcode = Part(parts, 5);
  lines.Detail = Joined({extended, poBox}, " ");
  const bool korean =
      IsKorea(country) ||
      (country.empty() && ContainsEastAsianLetter(region + locality + street + extended));
  if (!korean) {
    // Parts that end in a comma of their own (Silicon Alley 5,) take no second one.
    std::vector<std::string> western;
    for (std::string part : {street, locality, region, country}) {
      while (!part.empty() && (part.back() == ',' || part.back() == ' ')) part.pop_back();
      western.push_back(std::move(part));
    }
    lines.Address = Joined(western, ", ");
    return lines;
  }
  // Phones often write the whole address into the street, or the locality into it again: a part
  // that a later one holds as whole words is not written twice.
  std::vector<std::string> ordered;
  const std::array<const std::string*, 3> order = {&region, &locality, &street};
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::string words = " " + *order[i] + " ";
    const bool repeated =
        std::any_of(order.begin() + static_cast<std::ptrdiff_t>(i) + 1, order.end(),
                    [&](const std::string* later) {
                      return (" " + *later + " ").find(words) != std::string::npos;
                    });
    if (!repeated) ordered.push_back(*order[i]);
  }
  lines.Address = Joined(ordered, " ");
  return lines;
}

CardRecord RecordFromCard(const VCard& card) {
  return CardMapper(card).Map();
}

}  // namespace addressbook
