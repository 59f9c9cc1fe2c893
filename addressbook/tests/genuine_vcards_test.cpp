// Contact files written by real phones and mail programs, read from the shared data folder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "addressbook/address_columns.h"
#include "addressbook/tests/vcard_test_support.h"
#include "addressbook/vcard_import_source.h"
#include "addressbook/vcard_mapping.h"
#include "platform/cp949.h"
#include "platform/testing/shared_data.h"
#include "platform/utf8.h"

namespace addressbook {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::ReadCards;

const fs::path kContacts = platform::testing::SharedDataPath("contacts");

class GenuineVCards : public ::testing::Test {
 protected:
  void SetUp() override { ZARIZE_SKIP_WITHOUT_SHARED_DATA("contacts"); }

  static std::string Bytes(const std::string& name) {
    std::ifstream in(kContacts / name, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  static std::vector<VCard> Cards(const std::string& name, VCardOptions options = {}) {
    return ReadCards(Bytes(name), std::move(options));
  }
};

// Lines that begin a card, counted apart from the reader.
std::size_t BeginLines(const std::string& bytes) {
  std::istringstream in(bytes);
  std::size_t count = 0;
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    for (char& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (line == "BEGIN:VCARD") ++count;
  }
  return count;
}

TEST_F(GenuineVCards, EveryCardOfEveryFileReads) {
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kContacts)) {
    const std::string extension = entry.path().extension();
    if (extension != ".vcf" && extension != ".vcard") continue;
    ++files;
    const std::string name = fs::relative(entry.path(), kContacts);
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    try {
      const std::vector<VCard> cards = ReadCards(bytes.str());
      EXPECT_EQ(cards.size(), BeginLines(bytes.str())) << name;
      for (const VCard& card : cards) {
        const CardRecord mapped = RecordFromCard(card);
        for (const ColumnInfo& column : ImportableColumns()) {
          EXPECT_TRUE(platform::IsValidUtf8(mapped.Record.Value(column.Name)))
              << name << " card " << card.Number << " " << column.Name;
        }
        for (const std::string& warning : card.Warnings)
          EXPECT_THAT(warning, ::testing::Not(HasSubstr("END:VCARD"))) << name;
      }
      // The import source yields the same cards as rows.
      std::istringstream again(bytes.str());
      VCardImportSource source(again);
      std::size_t rows = 0;
      while (source.Next()) ++rows;
      EXPECT_EQ(rows, cards.size()) << name;
    } catch (const std::exception& e) {
      ADD_FAILURE() << name << ": " << e.what();
    }
  }
  EXPECT_GE(files, 30u);
}

TEST_F(GenuineVCards, AndroidQuotedPrintableAndContinuedLines) {
  const std::vector<VCard> complicated = Cards("android-vcard-tests/v21_complicated.vcf");
  ASSERT_EQ(complicated.size(), 1u);
  const CardRecord mapped = RecordFromCard(complicated[0]);
  EXPECT_EQ(mapped.Record.Value("이름"), "Forrest Gump");
  EXPECT_EQ(mapped.Record.Value("회사"), "Gump Shrimp Co.");
  EXPECT_EQ(mapped.Record.Value("부서"), "Sales Dept.;Manager Fish keeper");
  EXPECT_EQ(mapped.Record.Value("휴대폰"), "0311111111");
  EXPECT_EQ(complicated[0].All("NOTE")[1]->Text(),
            "Now's the time for all folk to come to the aid of their country.");
  EXPECT_EQ(complicated[0].First("X-ATTRIBUTE")->Text(), "Some String");  // after the photo

  const std::vector<VCard> multiLine = Cards("android-vcard-tests/v21_adr_multiple_line.vcf");
  ASSERT_EQ(multiLine.size(), 1u);
  EXPECT_EQ(multiLine[0].All("ADR")[1]->Components()[2],
            "Hermann v. Brevern\n9999999\nPackstation 999");
  EXPECT_EQ(multiLine[0].First("BDAY")->Text(), "20081203");

  const std::vector<VCard> japanese = Cards("android-vcard-tests/v21_japanese_2.vcf");
  ASSERT_EQ(japanese.size(), 1u);
  EXPECT_EQ(RecordFromCard(japanese[0]).Record.Value("이름"), "安藤ロイド1");
  EXPECT_EQ(RecordFromCard(japanese[0]).Record.Value("우편번호"), "150-8512");
}

TEST_F(GenuineVCards, FoldThatSplitsACharacterAndOddLineEnds) {
  const std::vector<VCard> folded = Cards("kde-kcontacts/vcard9.vcf");
  ASSERT_EQ(folded.size(), 1u);
  EXPECT_TRUE(folded[0].Warnings.empty());
  EXPECT_THAT(folded[0].First("N")->Text(), ::testing::StartsWith("123ㄓㄕㄖbcdeαβγδ"));

  const std::vector<VCard> iphone = Cards("ez-vcard/John_Doe_IPHONE.vcf");  // CR CR LF
  ASSERT_EQ(iphone.size(), 1u);
  const CardRecord mapped = RecordFromCard(iphone[0]);
  EXPECT_EQ(mapped.Record.Value("이름"), "John Doe");
  EXPECT_EQ(mapped.Record.Value("휴대폰"), "905-555-1234");
  EXPECT_EQ(mapped.Record.Value("회사주소"), "Street4 Building 6 Floor 8, New York, USA");
  EXPECT_TRUE(iphone[0].First("PHOTO")->Skipped);
}

TEST_F(GenuineVCards, ValuesWithoutTheirCharacterSet) {
  const std::vector<VCard> sap = Cards("ical4j-vcard/vcard-vCards-SAP.vcf");
  ASSERT_EQ(sap.size(), 30u);
  EXPECT_EQ(RecordFromCard(sap[4]).Record.Value("이름"), "Frida Töcken");
  EXPECT_THAT(sap[1].Warnings, ::testing::ElementsAre(HasSubstr("TEL: not UTF-8")));

  // Outlook wrote Windows-1250 without saying so; the user may name the fallback.
  VCardOptions centralEuropean;
  centralEuropean.FallbackCharsets = {"WINDOWS-1250"};
  const std::vector<VCard> outlook =
      Cards("ical4j-vcard/vcard-antoni-outlook2003.vcf", centralEuropean);
  ASSERT_EQ(outlook.size(), 1u);
  EXPECT_THAT(outlook[0].All("LABEL")[1]->Text(), HasSubstr("Kraków, małopolskie 30-072"));

  // A declared UTF-8 value with a stray byte keeps the rest of the value.
  const std::vector<VCard> android = Cards("ez-vcard/John_Doe_ANDROID.vcf");
  ASSERT_EQ(android.size(), 6u);
  EXPECT_THAT(android[5].Warnings,
              ::testing::ElementsAre(HasSubstr("ORG: bytes that are not valid UTF-8")));
  EXPECT_THAT(android[5].All("ORG")[1]->Text(), ::testing::EndsWith("ÑÑ\uFFFD"));
}

TEST_F(GenuineVCards, PropertyAfterABrokenAddressAndALineWithoutColon) {
  const std::vector<VCard> kde = Cards("kde-kcontacts/vcard10.vcf");
  ASSERT_EQ(kde.size(), 5u);
  EXPECT_EQ(kde[1].First("URL")->Text(), "http://some-webseite.com");
  EXPECT_EQ(RecordFromCard(kde[1]).Record.Value("주소"), "AAAAAAA-AäAAAAA 11, Urt");

  const std::vector<VCard> evolution = Cards("kde-kcontacts/vcard4.vcf");
  ASSERT_EQ(evolution.size(), 1u);
  EXPECT_THAT(evolution[0].Warnings, ::testing::ElementsAre("line 3: no ':' in \"FN\"; left out"));
  EXPECT_EQ(RecordFromCard(evolution[0]).Record.Value("회사"), "Ximian, Inc.");
}

}  // namespace
}  // namespace addressbook
