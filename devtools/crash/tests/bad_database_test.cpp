// Broken files where an address database or the postcode database should be: each open ends in
// the message or error box the user is meant to see, and nothing else happens.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/event_guard.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace crash::testing {
namespace {

const char* const kAddressDbError = "데이터베이스에 오류가 있습니다.";
const char* const kPostcodeDbError = "데이터베이스 오류";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// How a good database file is broken.
enum class TDamage { ZeroBytes, HeaderOnly, CutInHalf, PagesOverwritten, AccessHeaderOnly };

std::string Broken(const std::string& good, TDamage damage) {
  switch (damage) {
    case TDamage::ZeroBytes:
      return "";
    case TDamage::HeaderOnly:
      return good.substr(0, 100);
    case TDamage::CutInHalf:
      return good.substr(0, good.size() / 2);
    case TDamage::PagesOverwritten: {
      // The first page (header and schema) stays; every record page is noise.
      const std::size_t pageSize =
          static_cast<unsigned char>(good[16]) << 8 | static_cast<unsigned char>(good[17]);
      std::string bytes = good;
      for (std::size_t i = pageSize; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 131 % 251);
      }
      return bytes;
    }
    case TDamage::AccessHeaderOnly:
      return std::string("\x00\x01\x00\x00Standard Jet DB\x00\x01", 21) + std::string(2048, 'x');
  }
  return good;
}

struct TCase {
  const char* Name;
  TDamage Damage;
  // What the user sees: the program's own message when the file does not open, else the
  // standard error box with the engine's text when the records cannot be read. A postcode
  // search on a file that did not open shows the engine's text as well.
  bool OpensNot;
  const char* EngineText;
};

class BadAddressDatabase : public ::testing::TestWithParam<TCase>,
                           public zeravu::testing::ZeravuFixture {};

TEST_P(BadAddressDatabase, OpenShowsTheFailureAndLeavesNothingOpen) {
  std::vector<Record> records;
  for (int i = 0; i < 200; ++i) records.push_back({"이름" + std::to_string(i), "서울 강남구"});
  const std::string good = ReadAll(MakeAddressDatabase(dir.Path("good.mdb"), records));
  const std::string path = dir.Write("broken.mdb", Broken(good, GetParam().Damage));

  zeravu::TFMain& form = Start({zeravu::testing::kToken});
  screen.ExpectFileDialog("자료열기", std::optional<std::string>(path));
  if (GetParam().OpensNot) {
    screen.ExpectPlainMessage(kAddressDbError);
  } else {
    screen.ExpectErrorContaining(GetParam().EngineText);
  }
  ui::RunGuarded(screen, [&] { form.spbDBOpen.Click(); });
  screen.VerifyAllMet();
  EXPECT_FALSE(dm.adoTblMember.Active());
  EXPECT_EQ(form.StatusBar1.PanelText(1), "...");
  EXPECT_EQ(ReadAll(path), Broken(good, GetParam().Damage)) << "the open changed the file";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadAddressDatabase,
    ::testing::Values(TCase{"ZeroBytes", TDamage::ZeroBytes, true, ""},
                      TCase{"HeaderOnly", TDamage::HeaderOnly, true, ""},
                      TCase{"CutInHalf", TDamage::CutInHalf, true, ""},
                      TCase{"PagesOverwritten", TDamage::PagesOverwritten, false, "malformed"},
                      TCase{"AccessHeaderOnly", TDamage::AccessHeaderOnly, true, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

class BadPostcodeDatabase : public ::testing::TestWithParam<TCase>,
                            public zeravu::testing::ZeravuFixture {};

TEST_P(BadPostcodeDatabase, TheLookupSaysSoAndSearchesFailIntoTheErrorBox) {
  std::vector<std::string> rows;
  for (int i = 0; i < 2000; ++i)
    rows.push_back("135-080,서울 강남구 역삼동,역삼동" + std::to_string(i));
  MakeZipDatabase(rows);
  const std::string path = ExeDir() + "/DB/Zip/20080327.mdb";
  const std::string broken = Broken(ReadAll(path), GetParam().Damage);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << broken;

  postcode::TFZipSearch form(screen, ExeDir());
  form.conn.AccessReader = std::string(ZARIZE_BIN_DIR) + "/zarize-mdb-read";  // the build's own
  if (GetParam().OpensNot) screen.ExpectPlainMessage(kPostcodeDbError);
  form.FormCreate();
  screen.VerifyAllMet();

  screen.ExpectErrorContaining(GetParam().EngineText);
  form.edIn.SetText("역삼");
  ui::RunGuarded(screen, [&] { form.spbSearch.Click(); });
  screen.VerifyAllMet();
  EXPECT_FALSE(form.HasRows());
  EXPECT_EQ(ReadAll(path), broken) << "the lookup changed the file";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadPostcodeDatabase,
    ::testing::Values(TCase{"ZeroBytes", TDamage::ZeroBytes, true, "is not a database"},
                      TCase{"HeaderOnly", TDamage::HeaderOnly, true, "is damaged"},
                      TCase{"CutInHalf", TDamage::CutInHalf, true, "is damaged"},
                      TCase{"PagesOverwritten", TDamage::PagesOverwritten, false, "malformed"},
                      TCase{"AccessHeaderOnly", TDamage::AccessHeaderOnly, true,
                            "is not a database"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace crash::testing
