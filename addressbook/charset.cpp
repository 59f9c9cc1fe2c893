#include "addressbook/charset.h"

#include <map>
#include <memory>

#include "platform/ascii_case.h"
#include "platform/errors.h"
#include "platform/iconv_converter.h"
#include "platform/utf8.h"

namespace addressbook {
namespace {

// The name iconv knows for a character set that writers spell in ways iconv does not, or for
// which a superset reads more of what real programs write.
std::string IconvName(std::string_view charset) {
  const std::string upper = platform::UpperCase(charset);
  static const std::map<std::string, std::string, std::less<>> kAliases = {
      {"EUC-KR", "CP949"},      {"EUCKR", "CP949"},         {"KS_C_5601-1987", "CP949"},
      {"KSC5601", "CP949"},     {"KS_C_5601", "CP949"},     {"UHC", "CP949"},
      {"WINDOWS-949", "CP949"}, {"X-WINDOWS-949", "CP949"}, {"MS949", "CP949"},
      {"SHIFT_JIS", "CP932"},   {"SHIFT-JIS", "CP932"},     {"SJIS", "CP932"},
      {"X-SJIS", "CP932"},      {"WINDOWS-31J", "CP932"},   {"US-ASCII", "UTF-8"},
      {"ASCII", "UTF-8"},       {"UTF8", "UTF-8"},
  };
  const auto alias = kAliases.find(upper);
  return alias == kAliases.end() ? upper : alias->second;
}

// One converter per character set and thread: opening one loads the tables, which costs far more
// than converting a value. Null for a character set iconv does not know.
platform::IconvConverter* ConverterFrom(const std::string& iconvName) {
  thread_local std::map<std::string, std::unique_ptr<platform::IconvConverter>> converters;
  auto found = converters.find(iconvName);
  if (found == converters.end()) {
    std::unique_ptr<platform::IconvConverter> converter;
    try {
      converter = std::make_unique<platform::IconvConverter>("UTF-8", iconvName.c_str());
    } catch (const platform::Exception&) {
      return nullptr;
    }
    found = converters.emplace(iconvName, std::move(converter)).first;
  }
  return found->second.get();
}

}  // namespace

DecodedText RepairedUtf8(std::string_view bytes) {
  DecodedText out;
  out.Text.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    const char32_t c = platform::NextCodePoint(bytes, pos);
    if (c == platform::kReplacementCharacter && pos - start == 1) {
      platform::AppendCodePoint(out.Text, c);
      out.Replaced = true;
    } else {
      out.Text.append(bytes.substr(start, pos - start));
    }
  }
  return out;
}

std::optional<DecodedText> DecodeCharset(std::string_view bytes, std::string_view charset) {
  const std::string name = IconvName(charset);
  if (name == "UTF-8") return RepairedUtf8(bytes);
  platform::IconvConverter* converter = ConverterFrom(name);
  if (!converter) return std::nullopt;
  // An invalid or cut-off sequence: one replacement for its first byte, then read on.
  std::string replacement;
  platform::AppendCodePoint(replacement, platform::kReplacementCharacter);
  DecodedText out;
  out.Replaced = !converter->Convert(bytes, out.Text, replacement,
                                     [](std::string_view) { return std::size_t{1}; });
  return out;
}

}  // namespace addressbook
