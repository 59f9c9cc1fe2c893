#include "postcode/zip_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/testing/scratch_dir.h"
#include "postcodedb/zip_database.h"
#include "ui/event_guard.h"
#include "ui/testing/scripted_screen.h"

namespace postcode {
namespace {

using platform::testing::ScratchDir;
using ui::testing::ScriptedScreen;
using TRows = std::vector<std::pair<std::string, std::string>>;  // postcode, address

// A few rows, deliberately not in postcode order, so sorting and the table's own order show.
constexpr const char* kZipList =
    "우편번호,주소,읍면동\n"
    "138-220,서울 송파구 잠실동,잠실동\n"
    "135-120,서울 강남구 신사동,신사동\n"
    "476-830,경기 양평군 양서면 양수리,양서면 양수리\n"
    "156-070,서울 동작구 사당동,사당동\n"
    "110-290,서울 종로구 인사동,인사동\n"
    "999-001,시험 따옴표,O'Neil동\n"
    "999-002,시험 빈 이름,\n";

// A program's folder with the postcode database built from kZipList where the form looks for it,
// a scripted screen, and the form. Every dialog the form puts up must be expected.
class ZipSearchTest : public ::testing::Test {
 protected:
  void BuildDatabase() {
    std::filesystem::create_directories(dir.Path("DB/Zip"));
    postcodedb::BuildZipDatabase(dir.Write("zip.csv", kZipList), ZipDBPathBeside(dir.Root()));
  }
  void SetUp() override { BuildDatabase(); }
  void TearDown() override { screen.VerifyAllMet(); }

  // What the grid lists, as a view would paint it.
  static TRows Listed(const TFZipSearch& form) {
    TRows rows;
    for (int row = 0; row < form.wwDBGrid1.RowCount(); ++row) {
      rows.emplace_back(form.wwDBGrid1.CellText(row, 0), form.wwDBGrid1.CellText(row, 1));
    }
    return rows;
  }

  // A handler run as the view runs it: an escaped error ends in the standard error box.
  void Run(const std::function<void()>& handler) { ui::RunGuarded(screen, handler); }

  void Search(TFZipSearch& form, const std::string& text) {
    form.edIn.SetText(text);
    Run([&] { form.spbSearch.Click(); });
  }

  ScratchDir dir;
  ScriptedScreen screen;
};

class ZeravuDialog : public ZipSearchTest {
 protected:
  void SetUp() override {
    ZipSearchTest::SetUp();
    form.FormCreate();
  }

  // One modal showing in which `user` plays the user; answers the modal result.
  int ShowModal(const std::function<void()>& user) {
    screen.ExpectModal("우편번호검색", [&](ui::TForm& shown) {
      EXPECT_EQ(&shown, &form);
      user();
      return shown.ModalResult();
    });
    return screen.ShowModal(form);
  }

  TFZipSearch form{screen, dir.Root()};
};

TEST_F(ZeravuDialog, OpensTheDatabaseBesideTheProgramAtCreation) {
  EXPECT_TRUE(form.conn.Connected());
  EXPECT_EQ(form.ZipDBPath(), dir.Path("DB/Zip/20080327.mdb"));
  EXPECT_EQ(form.ZipTable(), "zip");
  EXPECT_FALSE(form.HasRows());
}

TEST_F(ZeravuDialog, SearchListsTheMatchingRowsSortedByPostcode) {
  Run([&] { form.spbAllClick(); });
  Search(form, "사");

  EXPECT_EQ(Listed(form), (TRows{{"110-290", "서울 종로구 인사동"},
                                 {"135-120", "서울 강남구 신사동"},
                                 {"156-070", "서울 동작구 사당동"}}));
  EXPECT_TRUE(form.HasRows());
  EXPECT_EQ(form.wwDS.DataSet(), &form.DQ1);
  EXPECT_FALSE(form.ADOT.Active());
  // Only the two shown columns are read, as text with the sizes the database declares.
  ASSERT_EQ(form.DQ1.FieldCount(), 2);
  EXPECT_EQ(form.DQ1.Fields(0).DataType(), dbengine::ftWideString);
  EXPECT_EQ(form.DQ1.Fields(0).Size(), 7);
}

struct TSearchCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Postcodes;
};

class SearchText : public ZeravuDialog, public ::testing::WithParamInterface<TSearchCase> {};

// The text is a literal inside the pattern: an apostrophe is searched for, % and _ stay wildcards.
TEST_P(SearchText, ListsWhatTheTextMatches) {
  Search(form, GetParam().Text);

  std::vector<std::string> postcodes;
  for (const auto& row : Listed(form)) postcodes.push_back(row.first);
  EXPECT_EQ(postcodes, GetParam().Postcodes);
  EXPECT_EQ(form.HasRows(), !GetParam().Postcodes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SearchText,
                         ::testing::Values(TSearchCase{"Hangul", "양수", {"476-830"}},
                                           TSearchCase{"Apostrophe", "'", {"999-001"}},
                                           TSearchCase{"ApostropheInAName", "O'Neil", {"999-001"}},
                                           TSearchCase{"TwoApostrophes", "''", {}},
                                           TSearchCase{"PercentAlone",
                                                       "%",
                                                       {"110-290", "135-120", "138-220", "156-070",
                                                        "476-830", "999-001"}},
                                           TSearchCase{"PercentInside", "인%동", {"110-290"}},
                                           TSearchCase{"Underscore", "잠_동", {"138-220"}},
                                           TSearchCase{"Blank", " ", {"476-830"}},
                                           TSearchCase{"NoMatch", "없는동", {}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ZeravuDialog, EmptyTextAsksForANameAndChangesNothing) {
  Run([&] { form.spbAllClick(); });
  const TRows before = Listed(form);

  screen.ExpectPlainMessage("동 이름을 입력해주셔야 합니다.");
  Search(form, "");

  EXPECT_EQ(form.wwDS.DataSet(), &form.ADOT);
  EXPECT_EQ(Listed(form), before);
  EXPECT_TRUE(form.HasRows());
}

TEST_F(ZeravuDialog, EnterRunsTheSearchAndNeverReachesTheBox) {
  form.edIn.SetText("사");
  EXPECT_TRUE(form.edIn.KeyPress(U'a'));
  EXPECT_FALSE(form.DQ1.Active());

  EXPECT_FALSE(form.edIn.KeyPress(U'\r'));
  EXPECT_EQ(Listed(form).size(), 3u);
  EXPECT_TRUE(form.HasRows());
}

TEST_F(ZeravuDialog, PickTakesTheGridsCurrentRow) {
  int result = ShowModal([&] {
    Search(form, "사");
    form.wwDBGrid1.SetCurrentCell(1, 0);  // the user moves to the second row
    form.bbnOk.Click();
  });

  EXPECT_EQ(result, ui::mrOk);
  EXPECT_EQ(form.ZipCode(), "135-120");
  EXPECT_EQ(form.Address(), "서울 강남구 신사동");
}

TEST_F(ZeravuDialog, OkAfterASearchWithoutAMatchEndsWithCancel) {
  int result = ShowModal([&] {
    Search(form, "없는동");
    EXPECT_TRUE(Listed(form).empty());
    form.bbnOk.Click();
  });

  EXPECT_EQ(result, ui::mrCancel);
  EXPECT_EQ(form.ZipCode(), "");
  EXPECT_EQ(form.Address(), "");
}

TEST_F(ZeravuDialog, WholeListingClearsTheBoxAndOkPicksTheTablesFirstRow) {
  int result = ShowModal([&] {
    form.edIn.SetText("사");
    form.spbAll.Click();
    EXPECT_EQ(form.edIn.Text(), "");
    EXPECT_EQ(form.wwDS.DataSet(), &form.ADOT);
    EXPECT_FALSE(form.DQ1.Active());
    EXPECT_EQ(Listed(form).size(), 7u);
    form.bbnOk.Click();
  });

  EXPECT_EQ(result, ui::mrOk);
  // The table's own order, not the smallest postcode.
  EXPECT_EQ(form.ZipCode(), "138-220");
  EXPECT_EQ(form.Address(), "서울 송파구 잠실동");
}

TEST_F(ZeravuDialog, ShowingAgainStartsEmptyAndOkAtOnceEndsWithCancel) {
  ASSERT_EQ(ShowModal([&] {
              Search(form, "잠실");
              form.bbnOk.Click();
            }),
            ui::mrOk);
  ASSERT_EQ(ShowModal([&] {
              form.spbAll.Click();
              form.SetActiveControl(&form.bbnOk);
              form.bbnOk.Click();
            }),
            ui::mrOk);

  int result = ShowModal([&] {
    EXPECT_EQ(form.edIn.Text(), "");
    EXPECT_TRUE(Listed(form).empty());
    EXPECT_FALSE(form.DQ1.Active());
    EXPECT_FALSE(form.ADOT.Active());
    EXPECT_FALSE(form.HasRows());
    EXPECT_EQ(form.ActiveControl(), &form.edIn);
    form.bbnOk.Click();
  });

  EXPECT_EQ(result, ui::mrCancel);
  EXPECT_EQ(form.ZipCode(), "");
  EXPECT_EQ(form.Address(), "");
}

TEST_F(ZeravuDialog, CancelKeepsTheLastPick) {
  ASSERT_EQ(ShowModal([&] {
              Search(form, "잠실");
              form.bbnOk.Click();
            }),
            ui::mrOk);

  int result = ShowModal([&] {
    Search(form, "사");
    form.bbnCancel.Click();
  });

  EXPECT_EQ(result, ui::mrCancel);
  EXPECT_EQ(form.ZipCode(), "138-220");
  EXPECT_EQ(form.Address(), "서울 송파구 잠실동");
}

TEST_F(ZeravuDialog, OpenAndCloseRecordPathAndTable) {
  EXPECT_TRUE(form.CloseZipDB());
  EXPECT_FALSE(form.conn.Connected());
  EXPECT_EQ(form.ZipDBPath(), "");
  EXPECT_EQ(form.ZipTable(), "");

  const std::string path = ZipDBPathBeside(dir.Root());
  ASSERT_TRUE(form.OpenZipDB(path, "zip"));
  EXPECT_EQ(form.ZipDBPath(), path);

  // A path with no file behind it leaves the open database as it was.
  EXPECT_FALSE(form.OpenZipDB(dir.Path("missing.mdb"), "zip"));
  EXPECT_TRUE(form.conn.Connected());
  EXPECT_EQ(form.ZipDBPath(), path);

  // A file that is not a database closes the old one first, and stays closed.
  EXPECT_FALSE(form.OpenZipDB(dir.Write("junk.mdb", "not a database"), "zip"));
  EXPECT_FALSE(form.conn.Connected());
  EXPECT_EQ(form.ZipDBPath(), "");
}

struct TBadDatabase {
  const char* Name;
  std::function<void(ScratchDir&)> Make;  // what lies where the database should be
  std::string Error;                      // a part of the engine's error on a search
};

class WithoutADatabase : public ZipSearchTest, public ::testing::WithParamInterface<TBadDatabase> {
 protected:
  void SetUp() override { GetParam().Make(dir); }
};

TEST_P(WithoutADatabase, SaysSoOnceThenSearchesFailIntoTheErrorBox) {
  TFZipSearch form(screen, dir.Root());
  screen.ExpectPlainMessage("데이터베이스 오류");
  form.FormCreate();
  screen.VerifyAllMet();
  EXPECT_FALSE(form.conn.Connected());
  EXPECT_EQ(form.ZipDBPath(), "");

  screen.ExpectErrorContaining(GetParam().Error);
  Search(form, "사");
  screen.VerifyAllMet();
  EXPECT_FALSE(form.DQ1.Active());
  EXPECT_FALSE(form.HasRows());

  screen.ExpectErrorContaining(GetParam().Error);
  Run([&] { form.spbAllClick(); });
  screen.VerifyAllMet();
  EXPECT_FALSE(form.ADOT.Active());
  EXPECT_FALSE(form.HasRows());

  screen.ExpectModal("우편번호검색", [&](ui::TForm&) {
    form.bbnOk.Click();
    return form.ModalResult();
  });
  EXPECT_EQ(screen.ShowModal(form), ui::mrCancel);
  EXPECT_EQ(form.ZipCode(), "");
}

void NothingThere(ScratchDir&) {}

void TextFile(ScratchDir& dir) {
  std::filesystem::create_directories(dir.Path("DB/Zip"));
  dir.Write("DB/Zip/20080327.mdb", "ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ\n");
}

void Folder(ScratchDir& dir) {
  std::filesystem::create_directories(dir.Path("DB/Zip/20080327.mdb"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WithoutADatabase,
    ::testing::Values(TBadDatabase{"Missing", NothingThere, "names no Data Source"},
                      TBadDatabase{"NotADatabase", TextFile, "is not a database"},
                      TBadDatabase{"AFolder", Folder, "names no Data Source"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Zireziv's window: the same form, each pick handed on at once.
class ZirezivWindow : public ZipSearchTest {
 protected:
  TZipSearchWindow Window(bool startAllowed = true) {
    return {[this, startAllowed] {
              ++startChecks;
              return startAllowed;
            },
            [this](const std::string& code, const std::string& address) {
              sent.emplace_back(code, address);
            }};
  }

  int startChecks = 0;
  TRows sent;
};

TEST_F(ZirezivWindow, EachPickIsSentAndTheWindowStaysWithItsListing) {
  TFZipSearch form(screen, dir.Root(), Window());
  form.FormCreate();
  EXPECT_EQ(startChecks, 1);
  EXPECT_TRUE(form.conn.Connected());

  form.bbnOk.Click();  // nothing listed yet: nothing is sent
  EXPECT_TRUE(sent.empty());

  Search(form, "사");
  form.wwDBGrid1.DblClick();
  form.wwDBGrid1.SetCurrentCell(2, 1);
  form.bbnOk.Click();

  EXPECT_EQ(sent, (TRows{{"110-290", "서울 종로구 인사동"}, {"156-070", "서울 동작구 사당동"}}));
  EXPECT_EQ(form.ModalResult(), ui::mrNone);
  EXPECT_EQ(Listed(form).size(), 3u);
  // The window is shown only once, so a showing resets nothing.
  form.DoShow();
  EXPECT_EQ(Listed(form).size(), 3u);
}

TEST_F(ZirezivWindow, CancelClosesTheWindow) {
  TFZipSearch form(screen, dir.Root(), Window());
  int closeRequests = 0;
  form.CloseRequested.Connect([&] { ++closeRequests; });

  EXPECT_EQ(form.bbnCancel.Caption(), "취소(닫기)");
  EXPECT_FALSE(form.chOnlyZip.Visible());
  form.bbnCancel.Click();
  EXPECT_EQ(closeRequests, 1);
}

TEST_F(ZirezivWindow, ARefusedStartLeavesTheDatabaseClosed) {
  TFZipSearch form(screen, dir.Root(), Window(false));
  form.FormCreate();
  EXPECT_EQ(startChecks, 1);
  EXPECT_FALSE(form.conn.Connected());
  EXPECT_EQ(form.ZipDBPath(), "");
}

}  // namespace
}  // namespace postcode
