#include "tools/zarize-db/csv_reader.h"

#include <gtest/gtest.h>

#include "platform/cp949.h"

namespace zarizedb {

// How a failed comparison shows a record.
void PrintTo(const TCsvRecord& record, std::ostream* out) {
  *out << "line " << record.Line << ":";
  for (const std::string& field : record.Fields) *out << " [" << field << "]";
}

namespace {

using TRecords = std::vector<TCsvRecord>;

TEST(CsvRecords, ReadBothLayoutsAndKeepQuotedTextWhole) {
  struct {
    const char* name;
    std::string text;
    TRecords want;
  } cases[] = {
      {"the export's trailing comma and LF",
       "이름,주소,\n홍길동,서울,\n",
       {{1, {"이름", "주소", ""}}, {2, {"홍길동", "서울", ""}}}},
      {"quoted commas, doubled quotes and CRLF",
       "a,b\r\n\"서울, 중구\",\"say \"\"hi\"\"\"\r\n\"\",x\r\n",
       {{1, {"a", "b"}}, {2, {"서울, 중구", "say \"hi\""}}, {3, {"", "x"}}}},
      {"a line break inside quotes, and no line end at the end",
       "a,b\n\"1\n2\",c\nd,e",
       {{1, {"a", "b"}}, {2, {"1\n2", "c"}}, {4, {"d", "e"}}}},
      {"CRLF inside quotes stays as written", "\"1\r\n2\"\r\nx\r\n", {{1, {"1\r\n2"}}, {3, {"x"}}}},
      {"empty fields and an empty line",
       "a,,\n\n,b\n",
       {{1, {"a", "", ""}}, {2, {""}}, {3, {"", "b"}}}},
      {"a carriage return alone is data", "a\rb\n", {{1, {"a\rb"}}}},
      {"nothing at all", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadCsvRecords(c.text), c.want) << c.name;
}

TEST(CsvRecords, BrokenQuotingNamesItsLine) {
  struct {
    std::string text;
    int line;
    const char* part;
  } cases[] = {
      {"a\n\"open,b\nmore\n", 2, "never closed"},
      {"a\nb\n\"x\"y,b\n", 3, "follows the closing quote"},
      {"a\n\"two\nlines\"z\n", 3, "follows the closing quote"},
  };
  for (const auto& c : cases) {
    try {
      ReadCsvRecords(c.text);
      ADD_FAILURE() << c.text;
    } catch (const ECsvError& e) {
      EXPECT_EQ(e.Line, c.line) << c.text;
      EXPECT_NE(std::string(e.what()).find(c.part), std::string::npos) << e.what();
      EXPECT_TRUE(std::string(e.what()).starts_with("line " + std::to_string(c.line) + ": "));
    }
  }
}

const std::string kText = "우편번호,주소\n100-011,\"서울 중구, 충무로\"\n";
const std::string kBom = "\xEF\xBB\xBF";

TEST(CsvText, EveryEncodingReadsToTheSameText) {
  struct {
    const char* name;
    std::string bytes;
    TTextEncoding encoding;
  } cases[] = {
      {"UTF-8", kText, TTextEncoding::Detect},
      {"UTF-8 with a byte-order mark", kBom + kText, TTextEncoding::Detect},
      {"code page 949", platform::ToCp949(kText), TTextEncoding::Detect},
      {"UTF-8 named", kBom + kText, TTextEncoding::Utf8},
      {"code page 949 named", platform::ToCp949(kText), TTextEncoding::Cp949},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeCsvText(c.bytes, c.encoding), kText) << c.name;
  // Plain ASCII is both; it reads the same either way.
  EXPECT_EQ(DecodeCsvText("a,b\n1,2\n", TTextEncoding::Detect), "a,b\n1,2\n");
}

TEST(CsvText, BrokenTextNamesTheLineWhereItBreaks) {
  const std::string cp949 = platform::ToCp949(kText);
  struct {
    const char* name;
    std::string bytes;
    TTextEncoding encoding;
    int line;
  } cases[] = {
      // Detecting, the line is the one of the encoding that reads further: a code page 949 file
      // is broken UTF-8 from its first Korean letter on.
      {"UTF-8 with a stray byte", kText + "x\xFFy,z\n", TTextEncoding::Detect, 3},
      {"code page 949 cut in the middle of a character",
       cp949 + platform::ToCp949("가나") + "\xB0\n", TTextEncoding::Detect, 3},
      {"code page 949 read as named UTF-8", cp949, TTextEncoding::Utf8, 1},
      {"code page 949 named, broken further on", cp949 + "\xFF\n", TTextEncoding::Cp949, 3},
  };
  for (const auto& c : cases) {
    try {
      DecodeCsvText(c.bytes, c.encoding);
      ADD_FAILURE() << c.name;
    } catch (const ECsvError& e) {
      EXPECT_EQ(e.Line, c.line) << c.name << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace zarizedb
