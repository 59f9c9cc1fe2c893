#include "addressbook/csv_reader.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/cp949.h"

namespace addressbook {

// How a failed comparison shows a record.
void PrintTo(const CsvRecord& record, std::ostream* out) {
  *out << "line " << record.Line << ":";
  for (const std::string& field : record.Fields) *out << " [" << field << "]";
}

namespace {

using Records = std::vector<CsvRecord>;

TEST(CsvRecords, ReadBothLayoutsAndKeepQuotedTextWhole) {
  struct {
    const char* name;
    std::string text;
    Records want;
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

TEST(CsvRecords, ARecordAcrossTheReadersChunksReadsWhole) {
  // The reader takes the stream 64 KiB at a time; put every kind of boundary across one.
  for (std::size_t pad = 65530; pad < 65540; ++pad) {
    const std::string text = std::string(pad, 'p') + ",\"a\"\"b\r\nc\"\r\nx\ry,z\r\n";
    const Records want = {{1, {std::string(pad, 'p'), "a\"b\r\nc"}}, {3, {"x\ry", "z"}}};
    EXPECT_EQ(ReadCsvRecords(text), want) << pad;
  }
}

TEST(CsvRecords, LimitsRefuseARecordBeforeTheRestOfItIsRead) {
  struct {
    const char* name;
    std::string text;
    CsvLimits limits;
    int line;
    const char* part;
  } cases[] = {
      {"a long value", "a,b\nxx,yyyy\n", {3, 10}, 2, "longer than any column"},
      {"a long quoted value over lines", "a\n\"x\nyy\"\n", {3, 10}, 3, "longer than any column"},
      {"too many fields", "a,b\n1,2,3\n", {10, 2}, 2, "more than 2 fields"},
  };
  for (const auto& c : cases) {
    // What follows the fault is a stream that fails when read: the reader must not get there.
    std::stringstream in(c.text + std::string(100000, 'z'));
    CsvReader reader(in, TextEncoding::Utf8);
    reader.SetLimits(c.limits);
    try {
      while (reader.Next()) {
      }
      ADD_FAILURE() << c.name;
    } catch (const ECsvError& e) {
      EXPECT_EQ(e.Line, c.line) << c.name << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.part), std::string::npos) << e.what();
    }
    EXPECT_LT(in.tellg(), 70000) << c.name << ": read on past the fault";
  }
}

const std::string kText = "우편번호,주소\n100-011,\"서울 중구, 충무로\"\n";
const std::string kBom = "\xEF\xBB\xBF";

TEST(CsvText, EveryEncodingReadsToTheSameRecords) {
  const Records want = ReadCsvRecords(kText);
  ASSERT_EQ(want.size(), 2u);
  struct {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
  } cases[] = {
      {"UTF-8", kText, TextEncoding::Detect},
      {"UTF-8 with a byte-order mark", kBom + kText, TextEncoding::Detect},
      {"code page 949", platform::ToCp949(kText), TextEncoding::Detect},
      {"UTF-8 named", kBom + kText, TextEncoding::Utf8},
      {"code page 949 named", platform::ToCp949(kText), TextEncoding::Cp949},
      // Plain ASCII lines come first: the first Korean line decides.
      {"code page 949 after ASCII lines", "a\nb\n" + platform::ToCp949(kText),
       TextEncoding::Detect},
  };
  for (const auto& c : cases) {
    Records records = ReadCsvRecords(c.bytes, c.encoding);
    if (records.size() == 4) records.erase(records.begin(), records.begin() + 2);
    ASSERT_EQ(records.size(), 2u) << c.name;
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(records[i].Fields, want[i].Fields) << c.name;
  }
}

TEST(CsvText, BrokenTextNamesTheLineWhereItBreaks) {
  const std::string cp949 = platform::ToCp949(kText);
  struct {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    int line;
  } cases[] = {
      {"UTF-8 with a stray byte", kText + "x\xFFy,z\n", TextEncoding::Detect, 3},
      {"code page 949 cut in the middle of a character",
       cp949 + platform::ToCp949("가나") + "\xB0\n", TextEncoding::Detect, 3},
      {"neither encoding from the start", "a\n\xFF\xFF\n", TextEncoding::Detect, 2},
      {"code page 949 read as named UTF-8", cp949, TextEncoding::Utf8, 1},
      {"code page 949 named, broken further on", cp949 + "\xFF\n", TextEncoding::Cp949, 3},
      {"a break on the second line of a quoted value", "a\n\"x\ny\xFF\"\n", TextEncoding::Utf8, 3},
  };
  for (const auto& c : cases) {
    try {
      ReadCsvRecords(c.bytes, c.encoding);
      ADD_FAILURE() << c.name;
    } catch (const ECsvError& e) {
      EXPECT_EQ(e.Line, c.line) << c.name << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace addressbook
