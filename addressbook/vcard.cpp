#include "addressbook/vcard.h"

#include <algorithm>
#include <charconv>

#include "addressbook/utf8_text.h"
#include "platform/ascii_case.h"

namespace addressbook {
namespace {

// Resolves one escape: `next` is the character after a backslash.
void AppendEscaped(std::string& out, char next) {
  switch (next) {
    case 'n':
    case 'N':
      out.push_back('\n');
      break;
    case '\\':
    case ',':
    case ';':
    case ':':
      out.push_back(next);
      break;
    default:  // not an escape: both characters stay
      out.push_back('\\');
      out.push_back(next);
  }
}

std::string Unescaped(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size()) {
      AppendEscaped(out, raw[++i]);
    } else {
      out.push_back(raw[i]);
    }
  }
  return out;
}

}  // namespace

std::string VCardProperty::Param(std::string_view name) const {
  for (const auto& [paramName, value] : Params) {
    if (platform::SameText(paramName, name)) return value;
  }
  return {};
}

bool VCardProperty::HasType(std::string_view type) const {
  for (const auto& [paramName, value] : Params) {
    if (paramName == "TYPE" && platform::SameText(value, type)) return true;
  }
  return false;
}

int VCardProperty::Preference() const {
  constexpr int kNone = 101;
  int best = kNone;
  for (const auto& [paramName, value] : Params) {
    if (paramName == "PREF") {
      int rank = 1;  // a bare PREF, or one whose value is not a number
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), rank);
      if (error != std::errc() || end != value.data() + value.size() || rank < 1) rank = 1;
      best = std::min(best, rank);
    } else if (paramName == "TYPE" && platform::SameText(value, "pref")) {
      best = 1;
    }
  }
  return best;
}

std::string VCardProperty::Text() const {
  return Unescaped(Value);
}

std::vector<std::string> VCardProperty::Components() const {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < Value.size(); ++i) {
    if (Value[i] == '\\') {
      ++i;  // whatever follows a backslash is not a separator
    } else if (Value[i] == ';') {
      parts.push_back(Unescaped(std::string_view(Value).substr(start, i - start)));
      start = i + 1;
    }
  }
  parts.push_back(Unescaped(std::string_view(Value).substr(start)));
  return parts;
}

std::vector<const VCardProperty*> VCard::All(std::string_view name) const {
  std::vector<const VCardProperty*> found;
  for (const VCardProperty& property : Properties) {
    if (platform::SameText(property.Name, name)) found.push_back(&property);
  }
  return found;
}

const VCardProperty* VCard::First(std::string_view name) const {
  for (const VCardProperty& property : Properties) {
    if (platform::SameText(property.Name, name)) return &property;
  }
  return nullptr;
}

}  // namespace addressbook
