#include "addressbook/text_encoding.h"

#include "addressbook/utf8_text.h"
#include "platform/cp949.h"
#include "platform/utf8.h"

namespace addressbook {
namespace {

// Longest character either encoding has, so a fault this close to the end of the sample may be
// a character the sample cut off.
constexpr std::size_t kLongestCharacter = 4;

// Bytes of `head` before the first malformed UTF-8 sequence; all of it when there is none, or
// when the only fault is a sequence the end of the sample cut off.
std::size_t Utf8ValidPrefix(std::string_view head) {
  for (std::size_t pos = 0; pos < head.size();) {
    const std::size_t start = pos;
    if (platform::NextCodePoint(head, pos) == platform::kReplacementCharacter && pos - start == 1) {
      const bool cutOff = head.size() - start < kLongestCharacter &&
                          static_cast<unsigned char>(head[start]) >= 0xC2;
      return cutOff ? head.size() : start;
    }
  }
  return head.size();
}

std::size_t Cp949ValidPrefix(std::string_view head) {
  // Whole characters only: a lead byte at the very end may be one the sample cut off.
  std::size_t whole = 0;
  while (whole < head.size()) {
    const std::size_t length = platform::Cp949CharLength(head, whole);
    if (length == 1 && whole + 1 == head.size() && static_cast<unsigned char>(head[whole]) >= 0x81)
      break;
    whole += length;
  }
  if (platform::IsValidCp949(head.substr(0, whole))) return head.size();
  for (std::size_t pos = 0; pos < whole;) {
    const std::size_t length = platform::Cp949CharLength(head, pos);
    if (!platform::IsValidCp949(head.substr(pos, length))) return pos;
    pos += length;
  }
  return whole;
}

}  // namespace

std::size_t Utf8ByteOrderMarkLength(std::string_view head) {
  return head.starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

TextEncoding ChooseTextEncoding(std::string_view head, TextEncoding requested) {
  if (requested != TextEncoding::Detect) return requested;
  if (Utf8ByteOrderMarkLength(head) > 0) return TextEncoding::Utf8;
  const std::size_t utf8 = Utf8ValidPrefix(head);
  if (utf8 == head.size()) return TextEncoding::Utf8;
  return Cp949ValidPrefix(head) >= utf8 ? TextEncoding::Cp949 : TextEncoding::Utf8;
}

}  // namespace addressbook
