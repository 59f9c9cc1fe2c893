#include "platform/cp949.h"

#include <gtest/gtest.h>

#include "platform/launch_token.h"
#include "platform/utf8.h"

namespace platform {
namespace {

using namespace std::string_literals;

TEST(Cp949, RoundTripsWhatItCanHold) {
  struct {
    std::string utf8;
    std::string cp949;
  } cases[] = {
      {"", ""},
      {"ZERAVU=1 ;#[]", "ZERAVU=1 ;#[]"},
      {"(갑)", "\x28\xB0\xA9\x29"},
      {"가", "\xB0\xA1"},
      {"똠", "\x8C\x63"},  // outside the 2,350 common syllables: the extended area
      {"漢乫", "\xF9\xD3\xCA\xE1"},
      {"a\0b"s, "a\0b"s},
      {"서울 강남구\r\n", "\xBC\xAD\xBF\xEF \xB0\xAD\xB3\xB2\xB1\xB8\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToCp949(c.utf8), c.cp949) << c.utf8;
    EXPECT_EQ(FromCp949(c.cp949), c.utf8) << c.utf8;
    EXPECT_TRUE(IsValidCp949(c.cp949)) << c.utf8;
    EXPECT_TRUE(IsValidUtf8(c.utf8)) << c.utf8;
  }
}

TEST(Cp949, TextLongerThanOneConversionBuffer) {
  std::string utf8, cp949;
  for (int i = 0; i < 5000; ++i) {
    utf8 += "갑a";
    cp949 +=
        "\xB0\xA9"
        "a";
  }
  utf8 += "😀";
  cp949 += "?";
  EXPECT_EQ(ToCp949(utf8), cp949);
  EXPECT_EQ(FromCp949(cp949), utf8.substr(0, utf8.size() - 4) + "?");
}

TEST(Cp949, WhatCannotBeWrittenBecomesQuestionMarks) {
  struct {
    std::string utf8;
    std::string cp949;
  } cases[] = {
      {"a😀b", "a?b"},         // one character without a CP949 form: one '?'
      {"丂漢", "?\xF9\xD3"},  // a Hanja outside the code page, then one inside
      {"\xFF"
       "a",
       "?a"},                   // invalid bytes: one '?' each
      {"\xC0\xAF", "??"},       // overlong '/'
      {"\xED\xA0\x80", "???"},  // a surrogate
      {"\xEA\xB0x", "??x"},     // a cut-off character followed by more text
      {"가\xEA", "\xB0\xA1?"},  // a cut-off character at the end
  };
  for (const auto& c : cases) EXPECT_EQ(ToCp949(c.utf8), c.cp949) << c.utf8;
}

TEST(Cp949, WhatCannotBeReadBecomesQuestionMarks) {
  struct {
    std::string cp949;
    std::string utf8;
  } cases[] = {
      {"\x80"
       "a",
       "?a"},                       // not a lead byte
      {"a\xB0", "a?"},              // a lead byte at the end
      {"\xB0 x", "? x"},            // a lead byte before a byte that cannot follow it
      {"\xC9\xA1\xB0\xA1", "?가"},  // a well-formed pair with no character (user-defined area)
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FromCp949(c.cp949), c.utf8);
    EXPECT_FALSE(IsValidCp949(c.cp949));
  }
}

TEST(LaunchToken, AcceptsOnlyTheTokenInEitherEncoding) {
  struct {
    std::string arg;
    bool accepted;
  } cases[] = {
      {"", false},  // also what a missing argument is
      {"(갑)", true},
      {"\x28\xB0\xA9\x29", true},
      {"(갑) ", false},
      {" (갑)", false},
      {"갑", false},
      {"(갑", false},
      {"(가)", false},
      {"(\xE1\x84\x80\xE1\x85\xA1\xE1\x86\xB8)", false},  // the syllable as three jamo
      {"(갑)\0"s, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsLaunchToken(c.arg), c.accepted) << testing::PrintToString(c.arg);
  }
}

}  // namespace
}  // namespace platform
