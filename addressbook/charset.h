#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace addressbook {

struct DecodedText {
  std::string Text;       // UTF-8
  bool Replaced = false;  // some bytes were not valid in the character set and became U+FFFD
};

// Text in the named character set (as a CHARSET parameter or the user names it, any case),
// converted to UTF-8. Korean names (EUC-KR, KS_C_5601-1987, UHC ...) read as code page 949, its
// superset; Shift_JIS as Windows code page 932, the superset phones write. Each byte that is not
// valid there becomes U+FFFD, so one bad byte never costs the whole text. Nothing when the
// character set is unknown.
std::optional<DecodedText> DecodeCharset(std::string_view bytes, std::string_view charset);

// UTF-8 text as it is when well-formed, else each byte of a malformed sequence as U+FFFD.
DecodedText RepairedUtf8(std::string_view bytes);

}  // namespace addressbook
