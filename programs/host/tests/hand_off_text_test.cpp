#include "programs/host/hand_off_text.h"

#include <gtest/gtest.h>

#include "platform/cp949.h"

namespace zarizehost {
namespace {

std::string Cp949(const std::string& utf8) {
  return platform::ToCp949(utf8);
}

TEST(HandOffTable, PadsColumnsByTerminalCellsWithHangulTwoWide) {
  const std::string file = Cp949(
      "우편번호,주소,이름\n"
      "110-290,서울 종로구 인사동,김민준\n"
      "612-040,부산,A\n");
  EXPECT_EQ(HandOffTable(file),
            "우편번호 | 주소               | 이름\n"
            "---------+--------------------+-------\n"
            "110-290  | 서울 종로구 인사동 | 김민준\n"
            "612-040  | 부산               | A\n");
}

TEST(HandOffTable, EdgeCases) {
  // Header only; a value that held a comma pushes the rest into a column of its own; nothing.
  EXPECT_EQ(HandOffTable(Cp949("우편번호,이름\n")), "우편번호 | 이름\n---------+-----\n");
  EXPECT_EQ(HandOffTable("a,b\nx,y,z\n"), "a | b\n--+---+--\nx | y | z\n");
  EXPECT_EQ(HandOffTable(""), "");
}

TEST(MergeText, ConvertsToUtf8AndQuotesOnlyValuesThatStartWithAQuote) {
  const std::string file = Cp949(
      "회사,이름\n"
      "\"한빛\" 상사,윤지우\n"
      "가나 \"다\",\"\n");
  EXPECT_EQ(MergeText(file),
            "회사,이름\n"
            "\"\"\"한빛\"\" 상사\",윤지우\n"
            "가나 \"다\",\"\"\"\"\n");
}

TEST(MergeText, DoublesEveryBackslashSoTheMergeDoesNotReadEscapes) {
  // A won sign typed as a backslash, and text that looks like the merge's line-break escape.
  const std::string file = Cp949(
      "주소,상세주소\n"
      "서울 a\\nb,\\\\서버\\\n"
      "\"c:\\t\",x\n");
  EXPECT_EQ(MergeText(file),
            "주소,상세주소\n"
            "서울 a\\\\nb,\\\\\\\\서버\\\\\n"
            "\"\"\"c:\\\\t\"\"\",x\n");
}

TEST(DisplayWidth, CountsWideCharactersTwice) {
  EXPECT_EQ(DisplayWidth("abc"), 3u);
  EXPECT_EQ(DisplayWidth("한글"), 4u);
  EXPECT_EQ(DisplayWidth("1∼150"), 5u);  // U+223C is narrow
  EXPECT_EQ(DisplayWidth("ＡＢ"), 4u);   // full-width Latin
}

}  // namespace
}  // namespace zarizehost
