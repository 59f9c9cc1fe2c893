#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "addressbook/column_mapping.h"
#include "addressbook/import_preview.h"
#include "addressbook/tests/vcard_test_support.h"
#include "addressbook/text_encoding.h"
#include "addressbook/vcard_import_source.h"
#include "platform/cp949.h"

namespace addressbook {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Rows given in the test, as a spreadsheet would yield them; a fault after the last one when
// asked for.
class ListSource : public ImportSource {
 public:
  ListSource(std::vector<std::string> columns, std::vector<SourceRow> rows,
             std::string faultAfter = {})
      : FColumns(std::move(columns)), FRows(std::move(rows)), FFault(std::move(faultAfter)) {}

  const std::vector<std::string>& Columns() const override { return FColumns; }
  std::string_view RowNoun() const override { return "line"; }
  std::optional<SourceRow> Next() override {
    if (FNext < FRows.size()) return FRows[FNext++];
    if (!FFault.empty()) throw platform::Exception(FFault);
    return std::nullopt;
  }

 private:
  std::vector<std::string> FColumns;
  std::vector<SourceRow> FRows;
  std::string FFault;
  std::size_t FNext = 0;
};

std::vector<std::string> Targets(const ColumnMapping& mapping) {
  std::vector<std::string> targets;
  for (std::size_t i = 0; i < mapping.SourceColumns().size(); ++i)
    targets.push_back(mapping.Target(i));
  return targets;
}

TEST(TextEncoding, ChosenFromTheFirstBytes) {
  const std::string hangulCp949 = platform::ToCp949("이름,주소\n홍길동,서울특별시");
  struct {
    const char* what;
    std::string head;
    TextEncoding requested, chosen;
  } cases[] = {
      {"UTF-8", "이름,주소\n홍길동", TextEncoding::Detect, TextEncoding::Utf8},
      {"UTF-8 with a mark", "\xEF\xBB\xBF이름", TextEncoding::Detect, TextEncoding::Utf8},
      {"ASCII only", "name,address\n", TextEncoding::Detect, TextEncoding::Utf8},
      {"code page 949", hangulCp949, TextEncoding::Detect, TextEncoding::Cp949},
      {"UTF-8 cut in a character by the sample's end", std::string("이름") + "\xEA\xB0",
       TextEncoding::Detect, TextEncoding::Utf8},
      {"CP949 cut in a character by the sample's end", hangulCp949 + "\xB0", TextEncoding::Detect,
       TextEncoding::Cp949},
      {"CP949 with a fault late", hangulCp949 + "\xFF", TextEncoding::Detect, TextEncoding::Cp949},
      {"UTF-8 with a fault late", "이름,주소,홍길동,서울특별시\xFF", TextEncoding::Detect,
       TextEncoding::Utf8},
      {"the user's choice wins", "이름", TextEncoding::Cp949, TextEncoding::Cp949},
      {"the user's choice wins over a mark", "\xEF\xBB\xBF", TextEncoding::Cp949,
       TextEncoding::Cp949},
      {"empty", "", TextEncoding::Detect, TextEncoding::Utf8},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseTextEncoding(c.head, c.requested), c.chosen) << c.what;
  EXPECT_EQ(Utf8ByteOrderMarkLength("\xEF\xBB\xBF이름"), 3u);
  EXPECT_EQ(Utf8ByteOrderMarkLength("이름"), 0u);
}

TEST(ColumnMapping, DefaultsByNameAndCommonHeaders) {
  struct {
    std::vector<std::string> headers;
    std::vector<std::string> targets;
  } cases[] = {
      // The program's own spreadsheet layout, trailing empty column and all.
      {{"선택", "이름", "존칭", "우편번호", "주소", "상세주소", "회사", "발송주소", "D상세주소",
        ""},
       {"선택", "이름", "존칭", "우편번호", "주소", "상세주소", "회사", "발송주소", "D상세주소",
        ""}},
      {{"성명", "핸드폰", "Zip Code", "E-mail", "회사명", "Job Title", "Address 2"},
       {"이름", "휴대폰", "우편번호", "", "회사", "직책", "상세주소"}},
      {{"NAME", "mobile_phone", " 주소 ", "Business Phone", "tel", "FAX"},
       {"이름", "휴대폰", "주소", "회사전화", "전화", "팩스"}},
      // A table column is taken once: the later header that means it too is left out.
      {{"이름", "성명", "Phone", "전화"}, {"이름", "", "전화", ""}},
      {{"ID", "GID", "SDATE", "메모"}, {"", "", "", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Targets(ColumnMapping(c.headers)), c.targets) << c.headers.front();
  }
}

TEST(ColumnMapping, ChangingWhereAColumnGoes) {
  ColumnMapping mapping({"Name", "Phone", "Mobile", "Memo"});
  mapping.SetTarget(3, "상세주소");
  mapping.SetTarget(1, "");  // not imported
  mapping.SetTarget(2, "전화");
  EXPECT_THAT(Targets(mapping), ElementsAre("이름", "", "전화", "상세주소"));

  struct {
    std::size_t index;
    std::string target;
    std::string message;
  } refused[] = {
      {0, "전화", "전화 already takes Mobile"},
      {0, "메모", "the address list has no column 메모 that an import can fill"},
      {0, "ID", "the address list has no column ID that an import can fill"},
      {0, "SDATE", "the address list has no column SDATE that an import can fill"},
  };
  for (const auto& r : refused) {
    try {
      mapping.SetTarget(r.index, r.target);
      ADD_FAILURE() << r.target << ": taken";
    } catch (const EImportError& e) {
      EXPECT_EQ(std::string(e.what()), r.message);
    }
  }
  EXPECT_THAT(Targets(mapping), ElementsAre("이름", "", "전화", "상세주소"));
}

TEST(ColumnMapping, AppliedRowIsCheckedAgainstTheColumnSizes) {
  ColumnMapping mapping({"선택", "이름", "우편번호", "메모", "주소"});
  SourceRow row{7, {"true", "홍길동", "06035", "not imported", std::string(255, 'x')}, {}};
  const AddressRecord record = mapping.Apply(row, "line");
  EXPECT_EQ(record.Value("선택"), "True");
  EXPECT_EQ(record.Value("이름"), "홍길동");
  EXPECT_EQ(record.Value("주소"), std::string(255, 'x'));
  EXPECT_EQ(record.Value("상세주소"), "");

  // Sizes count characters, not bytes: 32 Hangul syllables fit 이름.
  std::string name32;
  for (int i = 0; i < 32; ++i) name32 += "가";
  row.Values[1] = name32;
  EXPECT_EQ(mapping.Apply(row, "line").Value("이름"), name32);
  // A short row leaves the missing columns empty.
  EXPECT_EQ(mapping.Apply(SourceRow{8, {"", "홍길동"}, {}}, "line").Value("우편번호"), "");

  struct {
    std::size_t column;
    std::string value;
    std::string message;
  } refused[] = {
      {1, name32 + "가",
       "card 7: 이름: the value is longer than the field's size of 32 characters"},
      {2, "135-0801",
       "card 7: 우편번호: the value is longer than the field's size of 7 characters"},
      {4, std::string(256, 'x'),
       "card 7: 주소: the value is longer than the field's size of 255 characters"},
      {0, "yes", "card 7: 선택: \"yes\" is not True, False, 1, 0 or empty"},
  };
  for (const auto& r : refused) {
    SourceRow bad = row;
    bad.Values[r.column] = r.value;
    try {
      mapping.Apply(bad, "card");
      ADD_FAILURE() << r.message << ": taken";
    } catch (const EImportError& e) {
      EXPECT_EQ(std::string(e.what()), r.message);
    }
  }
  // What is not imported is not checked.
  row.Values[3] = std::string(1000, 'x');
  EXPECT_NO_THROW(mapping.Apply(row, "line"));
}

TEST(ImportPreview, FirstRowsWithTheirProblems) {
  ListSource source({"성명", "휴대폰", "비고"},
                    {{2, {"홍길동", "010-1234-5678", ""}, {}},
                     {3, {"김영희", "010-1234-5678-9999-0000-1", ""}, {}},
                     {4, {"박지성", "", ""}, {}},
                     {5, {"never read", "", ""}, {}}});
  ImportPreview preview(source, 3);
  ASSERT_EQ(preview.Rows().size(), 3u);
  EXPECT_FALSE(preview.Complete());
  EXPECT_EQ(preview.Error(), "");
  EXPECT_THAT(Targets(preview.Mapping), ElementsAre("이름", "휴대폰", ""));
  EXPECT_EQ(preview.Problem(0), "");
  EXPECT_EQ(preview.Problem(1),
            "line 3: 휴대폰: the value is longer than the field's size of 20 characters");
  // Sending the long column elsewhere settles it.
  preview.Mapping.SetTarget(1, "회사전화");
  EXPECT_EQ(preview.Problem(1), "");
  // The source goes on after the preview.
  EXPECT_EQ(source.Next()->Number, 5);
}

TEST(ImportPreview, ShortSourceAndAFaultAfterSomeRows) {
  ListSource whole({"이름"}, {{2, {"홍길동"}, {}}});
  const ImportPreview complete(whole, 10);
  EXPECT_TRUE(complete.Complete());
  EXPECT_EQ(complete.Rows().size(), 1u);

  ListSource broken({"이름"}, {{2, {"홍길동"}, {}}}, "line 3: a quote that is never closed");
  const ImportPreview partial(broken, 10);
  EXPECT_FALSE(partial.Complete());
  EXPECT_EQ(partial.Rows().size(), 1u);
  EXPECT_EQ(partial.Error(), "line 3: a quote that is never closed");
}

TEST(ImportPreview, VCardFile) {
  std::istringstream in(testing::FixtureBytes("korean_21.vcf"));
  VCardImportSource source(in);
  const ImportPreview preview(source, 10);
  EXPECT_EQ(preview.RowNoun(), "card");
  EXPECT_TRUE(preview.Complete());
  ASSERT_EQ(preview.Rows().size(), 2u);
  // A vCard's columns are the table's own, so each goes to its namesake.
  EXPECT_EQ(Targets(preview.Mapping), source.Columns());
  const AddressRecord first = preview.Mapping.Apply(preview.Rows()[0], "card");
  EXPECT_EQ(first.Value("이름"), "홍길동");
  EXPECT_EQ(first.Value("주소"), "서울특별시 강남구 논현로 508");
  EXPECT_THAT(preview.Rows()[0].Notes,
              ElementsAre("not imported: TEL 010-9999-0000; EMAIL; NOTE; PHOTO"));
  EXPECT_EQ(preview.Rows()[1].Number, 2);

  std::istringstream broken(std::string("BEGIN:VCARD\r\nFN:") + std::string(300, 'x') +
                            "\r\nEND:VCARD\r\n");
  VCardOptions small;
  small.MaxLineBytes = 100;
  VCardImportSource brokenSource(broken, small);
  EXPECT_EQ(ImportPreview(brokenSource, 10).Error(),
            "card 1, line 2: a property longer than 100 bytes");

  for (const char* notACard : {"name,address\n홍길동,서울\n", ""}) {
    std::istringstream in(notACard);
    VCardImportSource none(in);
    EXPECT_EQ(ImportPreview(none, 10).Error(), "the file holds no vCard (no BEGIN:VCARD line)")
        << notACard;
  }
}

}  // namespace
}  // namespace addressbook
