#include "platform/numbers.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace platform {
namespace {

TEST(StrToInt, ReadsWhatTheRunTimeLibraryReads) {
  struct {
    const char* text;
    int value;
  } cases[] = {
      {"0", 0},
      {"1", 1},
      {"-5", -5},
      {"+7", 7},
      {"  42", 42},
      {"007", 7},
      {"$1F", 31},
      {"0x10", 16},
      {"X10", 16},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RefusesEverythingElseWithTheLibrarysText) {
  for (const char* text : {"", " ", "-", "+", "$", "0x", "42 ", "4 2", "1.5", "1e3", "abc", "--1",
                           "2147483648", "-2147483649", "$100000000", "１", "0x1G", "\t1"}) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef(text, -99), -99) << text;
  }
}

}  // namespace
}  // namespace platform
