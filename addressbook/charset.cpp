#include "addressbook/charset.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>

#include "addressbook/utf8_text.h"
#include "platform/ascii_case.h"

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

struct IconvCloser {
  void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

// One descriptor per character set and thread: opening one loads the tables, which costs far
// more than converting a value.
iconv_t ConverterFrom(const std::string& iconvName) {
  thread_local std::map<std::string, IconvHandle> converters;
  auto found = converters.find(iconvName);
  if (found == converters.end()) {
    iconv_t handle = iconv_open("UTF-8", iconvName.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1)) return handle;
    found = converters.emplace(iconvName, IconvHandle(handle)).first;
  }
  return static_cast<iconv_t>(found->second.get());
}

TDecodedText Convert(iconv_t handle, std::string_view bytes) {
  TDecodedText out;
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(bytes.data());
  std::size_t srcLeft = bytes.size();
  char buffer[4096];
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t rc = iconv(handle, &src, &srcLeft, &dst, &dstLeft);
    const int err = errno;
    out.Text.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (rc != static_cast<std::size_t>(-1) || err == E2BIG) continue;
    // An invalid or cut-off sequence: one replacement for its first byte, then read on.
    AppendCodePoint(out.Text, kReplacementCharacter);
    out.Replaced = true;
    ++src;
    --srcLeft;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

TDecodedText RepairedUtf8(std::string_view bytes) {
  TDecodedText out;
  out.Text.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(bytes, pos);
    if (c == kReplacementCharacter && pos - start == 1) {
      AppendCodePoint(out.Text, c);
      out.Replaced = true;
    } else {
      out.Text.append(bytes.substr(start, pos - start));
    }
  }
  return out;
}

std::optional<TDecodedText> DecodeCharset(std::string_view bytes, std::string_view charset) {
  const std::string name = IconvName(charset);
  if (name == "UTF-8") return RepairedUtf8(bytes);
  iconv_t handle = ConverterFrom(name);
  if (handle == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  return Convert(handle, bytes);
}

}  // namespace addressbook
