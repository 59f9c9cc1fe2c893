#include "postcodedb/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "postcodedb/input_error.h"
#include "postcodedb/line_reader.h"
#include "postcodedb/tests/row_fixtures.h"

namespace postcodedb {
namespace {

using testing::Cp949;
using testing::TStringSource;

std::vector<std::string> AllLines(const std::string& bytes, std::size_t chunk,
                                  std::size_t maxLine = kMaxLineBytes,
                                  std::uint64_t* bytesRead = nullptr) {
  TStringSource source(bytes, chunk);
  TLineReader reader(source, "test.txt", maxLine);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(line)) {
    lines.emplace_back(line);
    EXPECT_EQ(reader.Number(), static_cast<std::int64_t>(lines.size()));
  }
  if (bytesRead != nullptr) *bytesRead = reader.BytesRead();
  return lines;
}

TEST(LineReader, SplitsTheSameWhereverTheReadsEnd) {
  const std::string bytes = "first\r\nsecond\n\nfourth has a \r inside\r\nlast without end";
  const std::vector<std::string> expected = {"first", "second", "", "fourth has a \r inside",
                                             "last without end"};
  for (std::size_t chunk : {1, 2, 3, 7, 4096}) {
    std::uint64_t bytesRead = 0;
    EXPECT_EQ(AllLines(bytes, chunk, kMaxLineBytes, &bytesRead), expected) << "chunk " << chunk;
    EXPECT_EQ(bytesRead, bytes.size());
  }
  EXPECT_TRUE(AllLines("", 1).empty());
  EXPECT_EQ(AllLines("\n", 1), std::vector<std::string>{""});
}

TEST(LineReader, RefusesALineBeyondTheCapWithItsNumber) {
  EXPECT_EQ(AllLines("12345678\nabc\n", 3, 8), (std::vector<std::string>{"12345678", "abc"}));
  EXPECT_EQ(AllLines("12345678", 3, 8), std::vector<std::string>{"12345678"});
  for (const std::string bytes : {"ok\n123456789\n", "ok\n123456789"}) {
    try {
      AllLines(bytes, 2, 8);
      FAIL() << "no error for " << bytes;
    } catch (const EInputError& e) {
      EXPECT_EQ(e.Line, 2);
      EXPECT_EQ(e.Reason, "the line is longer than 8 bytes");
    }
  }
}

struct TDecoded {
  std::vector<std::string> Lines;
  TEncoding Encoding;
};

TDecoded Decode(const std::string& bytes, TEncoding encoding, std::size_t chunk = 5) {
  TStringSource source(bytes, chunk);
  TTextLines lines(source, "test.txt", encoding);
  TDecoded decoded;
  std::string_view line;
  while (lines.Next(line)) decoded.Lines.emplace_back(line);
  decoded.Encoding = lines.Encoding();
  return decoded;
}

TEST(TextLines, TheFirstNonAsciiLineOrAByteOrderMarkSettlesTheEncoding) {
  TDecoded bom = Decode("\xEF\xBB\xBFhead\n서울\n", TEncoding::Detect);
  EXPECT_EQ(bom.Lines, (std::vector<std::string>{"head", "서울"}));
  EXPECT_EQ(bom.Encoding, TEncoding::Utf8);

  TDecoded cp949 =
      Decode("ZIPCODE,SIDO\n" + Cp949("135-806,서울\n강원특별자치도\n"), TEncoding::Detect);
  EXPECT_EQ(cp949.Lines,
            (std::vector<std::string>{"ZIPCODE,SIDO", "135-806,서울", "강원특별자치도"}));
  EXPECT_EQ(cp949.Encoding, TEncoding::Cp949);

  TDecoded utf8 = Decode("a|b\n서울|강남구\n", TEncoding::Detect);
  EXPECT_EQ(utf8.Lines, (std::vector<std::string>{"a|b", "서울|강남구"}));
  EXPECT_EQ(utf8.Encoding, TEncoding::Utf8);

  EXPECT_EQ(Decode("plain\n", TEncoding::Detect).Encoding, TEncoding::Detect);
}

TEST(TextLines, ALineOutsideTheSettledEncodingStopsTheReading) {
  struct TCase {
    std::string Bytes;
    TEncoding Encoding;
    std::int64_t Line;
    std::string Reason;
  };
  const std::vector<TCase> cases = {
      {"서울\n" + Cp949("서울") + "\n", TEncoding::Detect, 2, "the text is not valid UTF-8"},
      {Cp949("서울") + "\n서울\n", TEncoding::Detect, 2, "the text is not valid code page 949"},
      {"\xEF\xBB\xBFZIPCODE\n", TEncoding::Cp949, 1, "a UTF-8 byte-order mark"},
      {std::string("ab\ncd\0ef\n", 9), TEncoding::Detect, 2, "the line holds a NUL byte"},
  };
  for (const TCase& c : cases) {
    try {
      Decode(c.Bytes, c.Encoding);
      ADD_FAILURE() << "no error for case with reason " << c.Reason;
    } catch (const EInputError& e) {
      EXPECT_EQ(e.Line, c.Line) << c.Reason;
      EXPECT_NE(e.Reason.find(c.Reason), std::string::npos) << e.Reason;
    }
  }
}

}  // namespace
}  // namespace postcodedb
