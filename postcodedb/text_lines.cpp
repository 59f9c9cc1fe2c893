#include "postcodedb/text_lines.h"

#include <algorithm>

#include "platform/cp949.h"
#include "platform/utf8.h"
#include "postcodedb/input_error.h"

namespace postcodedb {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

TTextLines::TTextLines(TByteSource& source, std::string name, TEncoding encoding)
    : FLines(source, std::move(name)), FEncoding(encoding) {}

void TTextLines::Fail(const std::string& reason) const {
  throw EInputError(Name(), Number(), reason);
}

bool TTextLines::Next(std::string_view& line) {
  if (!FLines.Next(line)) return false;
  if (Number() == 1 && line.starts_with(kUtf8Bom)) {
    if (FEncoding == TEncoding::Cp949) Fail("a UTF-8 byte-order mark in a code page 949 file");
    FEncoding = TEncoding::Utf8;
    line.remove_prefix(kUtf8Bom.size());
  }
  if (line.find('\0') != std::string_view::npos) Fail("the line holds a NUL byte");
  if (IsAscii(line)) return true;
  if (FEncoding == TEncoding::Detect) {
    // Hangul in code page 949 starts with bytes UTF-8 never starts a character with, so a whole
    // line of it is practically never valid UTF-8.
    FEncoding = platform::IsValidUtf8(line) ? TEncoding::Utf8 : TEncoding::Cp949;
  }
  if (FEncoding == TEncoding::Utf8) {
    if (!platform::IsValidUtf8(line)) Fail("the text is not valid UTF-8");
    return true;
  }
  if (!platform::IsValidCp949(line)) Fail("the text is not valid code page 949");
  FDecoded = platform::FromCp949(line);
  line = FDecoded;
  return true;
}

}  // namespace postcodedb
