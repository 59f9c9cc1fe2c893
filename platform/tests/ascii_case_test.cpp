#include "platform/ascii_case.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(AsciiCase, OnlyAsciiLettersChangeOrMatchInEitherCase) {
  struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"Microsoft.Jet.OLEDB.4.0", "MICROSOFT.JET.oledb.4.0", true},
      {"ZERAVU", "zeravu", true},
      {"", "", true},
      {"선택", "선택", true},
      {"Data Source", "Data  Source", false},
      {"key", "keys", false},
      // Bytes above 0x7F are never folded, whatever the locale: é (C3 A9) is not É (C3 89).
      {"\xC3\xA9", "\xC3\x89", false},
      // '@' and '`' sit next to the letters; they are no case of anything.
      {"@", "`", false},
      {"[", "{", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SameText(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(CompareText(c.a, c.b) == 0, c.same) << c.a << " / " << c.b;
  }
  EXPECT_EQ(LowerCase("ABC xyz 가나 [@]"), "abc xyz 가나 [@]");
  EXPECT_EQ(UpperCase("abc XYZ 가나 {`}"), "ABC XYZ 가나 {`}");
}

TEST(AsciiCase, OrdersAsTheLowerCaseTextDoes) {
  EXPECT_LT(CompareText("Apple", "banana"), 0);
  EXPECT_GT(CompareText("banana", "APPLE"), 0);
  EXPECT_LT(CompareText("abc", "ABCD"), 0);
  EXPECT_GT(CompareText("ABCD", "abc"), 0);
  // '_' (0x5F) comes after 'Z' but before 'a': compared lower-cased, "A_" sorts before "AA".
  EXPECT_LT(CompareText("A_", "AA"), 0);
  // Bytes above 0x7F sort after ASCII, as unsigned bytes do.
  EXPECT_LT(CompareText("z", "가"), 0);
}

}  // namespace
}  // namespace platform
