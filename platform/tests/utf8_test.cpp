#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

TEST(Utf8, Validity) {
  for (const char* text : {"", "abc", "갑", "😀", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_TRUE(IsValidUtf8(text)) << text;
  }
  // A lone continuation byte, overlong forms, a surrogate, beyond U+10FFFF, a lead byte that
  // starts nothing, a cut-off sequence, code page 949 bytes.
  for (const char* text : {"\x80", "\xC0\x80", "\xE0\x9F\xBF", "\xED\xBF\xBF", "\xF4\x90\x80\x80",
                           "\xF5\x80\x80\x80", "\xEA\xB0", "\xB0\xA9"}) {
    EXPECT_FALSE(IsValidUtf8(text)) << testing::PrintToString(std::string(text));
  }
}

std::vector<char32_t> CodePoints(std::string_view text) {
  std::vector<char32_t> points;
  for (std::size_t pos = 0; pos < text.size();) points.push_back(NextCodePoint(text, pos));
  return points;
}

TEST(Utf8, DecodesEachLengthAndReplacesEachBadByte) {
  EXPECT_EQ(CodePoints("a\xC3\xA9\xEA\xB0\x91\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"),
            (std::vector<char32_t>{U'a', U'é', U'갑', U'😀', U'\U0010FFFF'}));
  // Each byte of a malformed sequence reads as U+FFFD and the next byte is read afresh, so the
  // 'b' after a cut-off sequence is kept.
  EXPECT_EQ(
      CodePoints("\xEA\xB0"
                 "b\x80\xC0\x80"),
      (std::vector<char32_t>{kReplacementCharacter, kReplacementCharacter, U'b',
                             kReplacementCharacter, kReplacementCharacter, kReplacementCharacter}));
}

TEST(Utf8, EncodesWhatItDecodes) {
  for (char32_t c : {U'\0', U'a', U'\u007F', U'\u0080', U'\u07FF', U'\u0800', U'갑', U'\uFFFD',
                     U'\U00010000', U'😀', U'\U0010FFFF'}) {
    std::string text;
    AppendCodePoint(text, c);
    EXPECT_EQ(Utf8SequenceLength(text), text.size()) << static_cast<unsigned>(c);
    EXPECT_EQ(CodePoints(text), std::vector<char32_t>{c}) << static_cast<unsigned>(c);
  }
}

}  // namespace
}  // namespace platform
