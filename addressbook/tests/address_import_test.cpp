#include "addressbook/address_import.h"

#include <gtest/gtest.h>

#include <sstream>

#include "addressbook/tests/address_db_fixture.h"
#include "platform/cp949.h"

namespace addressbook::testing {
namespace {

const char* const kToday = "2024-05-06";

class Import : public ::testing::Test, public AddressDbFixture {
 protected:
  int Run(const std::string& bytes, TextEncoding encoding = TextEncoding::Detect) {
    ImportOptions options;
    options.Encoding = encoding;
    options.Today = kToday;
    std::istringstream csv(bytes);
    return ImportSpreadsheetCsv(dm, csv, options);
  }
  // Column values of record `index` (0-based, in list order) of the open table.
  std::string Value(int index, const std::string& column) {
    dm.adoTblMember.SetRecNo(index + 1);
    return dm.adoTblMember.FieldByName(column).AsString();
  }
};

// Every column the export writes, with values that need the quoting and the code page.
AddressDbFixture::Values FullRecord(const std::string& name) {
  return {{"이름", name},
          {"존칭", "님"},
          {"우편번호", "100-011"},
          {"주소", "서울 중구, 충무로"},
          {"상세주소", "2층 \"별관\""},
          {"전화", "02-123-4567"},
          {"팩스", "02-123-4568"},
          {"휴대폰", "010-1234-5678"},
          {"회사", "가나 상사"},
          {"부서", "총무부"},
          {"직책", "과장"},
          {"회사전화", "02-555-0000"},
          {"회사팩스", "02-555-0001"},
          {"회사우편번호", "135-080"},
          {"회사주소", "서울 강남구\n역삼동"},
          {"C상세주소", "5층"},
          {"발송명", "홍 과장"},
          {"발송회사", "가나"},
          {"발송부서", "총무"},
          {"발송직책", "과장"},
          {"발송우편번호", "135-081"},
          {"발송주소", "서울 강남구"},
          {"D상세주소", "501호"},
          {"발송", "우편"}};
}

TEST_F(Import, ZeravusOwnExportComesBackByteForByte) {
  for (SpreadsheetRows rows : {SpreadsheetRows::Ticked, SpreadsheetRows::All}) {
    const bool all = rows == SpreadsheetRows::All;
    NewDatabase(all ? "source-all.mdb" : "source-ticked.mdb");
    AddRecord(FullRecord("홍길동"));
    AddRecord({{"이름", "빈칸"}}, false);
    AddRecord(FullRecord("김철수"));
    AddRecord({{"이름", "  앞뒤 공백  "}, {"주소", ","}});
    const std::string exported = Sheet(rows);
    ASSERT_TRUE(exported.starts_with(platform::ToCp949(kSheetHeader)));
    ASSERT_NE(exported.find("\"\""), std::string::npos);  // the quoting is exercised

    NewDatabase(all ? "all.mdb" : "ticked.mdb");
    EXPECT_EQ(Run(exported), all ? 4 : 3);
    Reopen();
    EXPECT_EQ(Sheet(rows), exported);
  }
}

TEST_F(Import, SpreadsheetProgramFileWithQuotesCrlfAndColumnsInAnyOrder) {
  NewDatabase("list.mdb");
  const std::string csv =
      "주소,이름,선택,\"회사\"\r\n"
      "\"서울 중구, 충무로\",홍길동,TRUE,\"가나 \"\"상사\"\"\"\r\n"
      "부산,김철수,0,\r\n"
      "\"대구\r\n수성구\",이영희,,\r\n"
      "\r\n"
      "광주,박민수,false\r\n"
      "대전,최지우,1,회사\r\n";
  EXPECT_EQ(Run(csv), 5);
  Reopen();
  ASSERT_EQ(dm.adoTblMember.RecordCount(), 5);
  struct {
    const char* name;
    const char* address;
    const char* tick;
    const char* company;
  } want[] = {
      {"홍길동", "서울 중구, 충무로", "True", "가나 \"상사\""},
      {"김철수", "부산", "False", ""},
      {"이영희", "대구\r\n수성구", "True", ""},  // an empty tick leaves the record ticked
      {"박민수", "광주", "False", ""},           // a short line leaves the last columns empty
      {"최지우", "대전", "True", "회사"},
  };
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Value(i, "이름"), want[i].name);
    EXPECT_EQ(Value(i, "주소"), want[i].address) << want[i].name;
    EXPECT_EQ(Value(i, "선택"), want[i].tick) << want[i].name;
    EXPECT_EQ(Value(i, "회사"), want[i].company) << want[i].name;
    EXPECT_EQ(Value(i, "SDATE"), kToday);
    EXPECT_TRUE(dm.adoTblMember.FieldByName("우편번호").IsNull());
  }
}

TEST_F(Import, AFileWithoutATickColumnTicksEveryRecord) {
  NewDatabase("list.mdb");
  EXPECT_EQ(Run("이름,\n가,\n나,\n"), 2);
  Reopen();
  EXPECT_EQ(Value(0, "선택"), "True");
  EXPECT_EQ(Value(1, "선택"), "True");
  EXPECT_EQ(Value(1, "SDATE"), kToday);
}

TEST_F(Import, UnicodeWithAndWithoutByteOrderMarkAndCodePage949StoreTheSame) {
  const std::string csv = "이름,주소,회사\n홍길동,\"서울, 중구\",가나\n김철수,부산,\n";
  const std::string bom = "\xEF\xBB\xBF";
  struct {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
  } cases[] = {
      {"UTF-8", csv, TextEncoding::Detect},
      {"UTF-8 with a byte-order mark", bom + csv, TextEncoding::Detect},
      {"code page 949", platform::ToCp949(csv), TextEncoding::Detect},
      {"code page 949 named", platform::ToCp949(csv), TextEncoding::Cp949},
  };
  std::string first;
  for (const auto& c : cases) {
    NewDatabase(std::string(c.name) + ".mdb");
    EXPECT_EQ(Run(c.bytes, c.encoding), 2) << c.name;
    Reopen();
    EXPECT_EQ(Value(0, "이름"), "홍길동") << c.name;
    EXPECT_EQ(Value(0, "주소"), "서울, 중구") << c.name;
    if (first.empty()) first = Sheet();
    EXPECT_EQ(Sheet(), first) << c.name;
  }
}

TEST_F(Import, ABadLineStopsTheImportWithItsNumberAndWritesNothing) {
  const std::string tooLong(33, 'x');  // 이름 holds 32 characters
  struct {
    const char* name;
    std::string bytes;
    int line;
    const char* part;
  } cases[] = {
      {"too many fields", "이름,주소\n가,나\n다,라\n마,바,사\n", 4, "more than 2 fields"},
      // The header line has three fields, the last one empty: so may every line.
      {"too many fields in the export's layout", "이름,주소,\n가,나,\n다,라,사,\n", 3,
       "more than 3 fields"},
      {"a value after the export's last comma", "이름,주소,\n가,나,다\n", 2,
       "3 fields where the header names 2"},
      {"a value longer than its column", "이름,주소\n가,나\n" + tooLong + ",다\n", 3, "이름"},
      {"broken encoding", "이름,주소\n가,나\n다,\xFF\n", 3, "UTF-8"},
      {"a tick that is not one", "선택,이름\nTrue,가\nyes,나\n", 3, "\"yes\""},
      {"a quote never closed", "이름,주소\n가,나\n\"다,라\n", 3, "never closed"},
      {"unknown columns, all of them named", "이름,Name,주소,Addr\n가,,,\n", 1, "Name, Addr"},
      {"a column the export leaves out", "ID,이름\n1,가\n", 1, "unknown columns: ID"},
      {"a column named twice", "이름,주소,이름\n", 1, "이름 is named twice"},
      {"no header at all", "", 1, "empty"},
  };
  NewDatabase("list.mdb");
  AddRecord({{"이름", "기존"}, {"주소", "서울"}});
  const std::string before = Sheet();
  for (const auto& c : cases) {
    try {
      Run(c.bytes);
      ADD_FAILURE() << c.name;
    } catch (const ECsvError& e) {
      EXPECT_EQ(e.Line, c.line) << c.name << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.part), std::string::npos)
          << c.name << ": " << e.what();
    }
    Reopen();
    EXPECT_EQ(dm.adoTblMember.RecordCount(), 1) << c.name;
    EXPECT_EQ(Sheet(), before) << c.name;
  }
  // The database takes a good file afterwards: the failed ones left no transaction open.
  EXPECT_EQ(Run("이름\n새\n"), 1);
}

}  // namespace
}  // namespace addressbook::testing
