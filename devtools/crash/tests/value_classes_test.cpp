// Values of every character class through every way out of Zeravu: the database keeps them
// exactly, the code page 949 files keep what code page 949 holds ('?' for the rest).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "addressbook/csv_reader.h"
#include "platform/cp949.h"
#include "platform/profile_file.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace crash::testing {
namespace {

struct TValue {
  const char* Name;
  std::string Text;
};

std::string Repeated(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// What a code page 949 file can give back of a value.
std::string ThroughCp949(const std::string& text) {
  return platform::FromCp949(platform::ToCp949(text));
}

class ValueClasses : public ::testing::TestWithParam<TValue>,
                     public zeravu::testing::ZeravuFixture {};

TEST_P(ValueClasses, KeptByTheDatabaseAndByEachFileAsFarAsItsCodePageHolds) {
  const std::string& value = GetParam().Text;
  const std::string database = MakeAddressDatabase(dir.Path("list.mdb"), {{"이름", value}});
  zeravu::TFMain& form = Start({zeravu::testing::kToken, "1", database});
  form.tmActTimer();
  ASSERT_TRUE(dm.adoTblMember.Active());
  EXPECT_EQ(dm.adoTblMember.FieldByName("주소").AsString(), value);

  form.SaveSelectedCsv(dir.Path("list.csv"));
  const auto sheet =
      addressbook::ReadCsvRecords(dir.Read("list.csv"), addressbook::TextEncoding::Cp949);
  ASSERT_EQ(sheet.size(), 2u);
  const std::vector<std::string>& header = sheet[0].Fields;
  const auto column = std::find(header.begin(), header.end(), "주소") - header.begin();
  ASSERT_LT(static_cast<std::size_t>(column), header.size());
  EXPECT_EQ(sheet[1].Fields[column], ThroughCp949(value));

  // The hand-off is never quoted: the row stands as the host reads it.
  form.WriteLabelCsv(form.HandOffFileName());
  const std::string handOff = dir.Read("tmp/hhh.csv");
  EXPECT_EQ(handOff.substr(handOff.find('\n') + 1), platform::ToCp949("," + value + ",,,이름,\n"));

  platform::ProfileFile settings(SettingsPath());
  settings.WriteString("ZERAVU", "DBOPENNAME", value);
  EXPECT_EQ(settings.ReadString("ZERAVU", "DBOPENNAME", ""), ThroughCp949(value));
}

INSTANTIATE_TEST_SUITE_P(Classes, ValueClasses,
                         ::testing::Values(TValue{"Hangul", "서울특별시 강남구 역삼동"},
                                           TValue{"Hanja", "金海 金氏 大韓民國"},
                                           TValue{"Emoji", "집😀 🏠 👍🏽"},
                                           TValue{"ControlCharacters",
                                                  "a\x01b\x1f c\x7f\td\x1b[0m"},
                                           TValue{"SymbolsOfTheCodePage", "※☆㈜ ㎡ ①②"},
                                           TValue{"LatinAndCyrillic", "Ünïcödé Straße Привет"},
                                           TValue{"AsLongAsTheColumn", Repeated("가", 255)}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace crash::testing
