#include "programs/pick-listen/pick_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/cp949.h"
#include "platform/pick_channel.h"

namespace picklisten {
namespace {

using namespace std::string_literals;

struct TLineCase {
  const char* Name;
  std::string Block;
  std::string Line;
};

// Shown by name in test listings, not as raw bytes.
void PrintTo(const TLineCase& c, std::ostream* out) {
  *out << c.Name;
}

class PickLineCase : public ::testing::TestWithParam<TLineCase> {};

TEST_P(PickLineCase, ShowsTheBlockAsOneLine) {
  EXPECT_EQ(PickLine(GetParam().Block, false), GetParam().Line);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, PickLineCase,
    ::testing::Values(
        TLineCase{"Pick", platform::BuildPickBlock("110-033", platform::ToCp949("서울 종로구")),
                  "110-033\t서울 종로구"},
        TLineCase{"EmptyAddress", platform::BuildPickBlock("110-033", ""), "110-033\t"},
        TLineCase{"EmptyBoth", platform::BuildPickBlock("", ""), "\t"},
        // Only the first CR LF separates: the rest belongs to the address.
        TLineCase{"BreakInAddress", platform::BuildPickBlock("1", "a\r\nb"), "1\ta  b"},
        TLineCase{"NoSeparator", "110-033\t\0\0"s, "110-033 \t"},
        TLineCase{"NoZeros", "110-033\r\nx", "110-033\tx"}, TLineCase{"Empty", "", "\t"},
        // A byte code page 949 cannot read costs one character.
        TLineCase{"BadCp949", platform::BuildPickBlock("1", "\xB0"), "1\t?"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PickLine, HexShowsEveryByteOfTheBlock) {
  const std::string block = platform::BuildPickBlock("1", platform::ToCp949("가"));
  EXPECT_EQ(PickLine(block, true), "1\t가\t310d0ab0a10000");
}

}  // namespace
}  // namespace picklisten
