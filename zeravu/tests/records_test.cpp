#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

using ui::TMsgButtons;
using ui::TMsgIcon;

// Today in the local time zone, as "yyyy-MM-dd", built from the calendar fields.
std::string Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::string month = std::to_string(local.tm_mon + 1);
  std::string day = std::to_string(local.tm_mday);
  return std::to_string(local.tm_year + 1900) + "-" + std::string(2 - month.size(), '0') + month +
         "-" + std::string(2 - day.size(), '0') + day;
}

class Records : public ::testing::Test, public ZeravuFixture {
 protected:
  TFMain& StartOn(const std::vector<Record>& records) {
    path = MakeAddressDatabase(dir.Path("list.mdb"), records);
    TFMain& form = Start({kToken, "1", path});
    form.tmActTimer();
    return form;
  }
  // The user types into the entry dialog and ends it with `result`.
  void ExpectEntry(const std::string& caption, std::string name, std::string address,
                   int result = ui::mrOk, std::string zip = "") {
    screen.ExpectModal(caption, [=, this](ui::TForm&) {
      FAddrInfoIn.edtName.SetText(name);
      FAddrInfoIn.edtAddr.SetText(address);
      FAddrInfoIn.edtZip.SetText(zip);
      return result;
    });
  }
  // One column of the records as stored in the file.
  std::vector<std::string> Stored(const std::string& column) {
    Tdm other;
    EXPECT_TRUE(other.OpenDB(path, "list.mdb"));
    other.adoTblMember.Open();
    std::vector<std::string> values;
    for (other.adoTblMember.First(); !other.adoTblMember.Eof(); other.adoTblMember.Next()) {
      values.push_back(other.adoTblMember.FieldByName(column).AsString());
    }
    return values;
  }
  std::vector<std::string> StoredNames() { return Stored("이름"); }
  std::string path;
};

TEST_F(Records, AddInsertsATickedDatedRecordThatStaysPendingUntilStored) {
  TFMain& form = StartOn({{"김", "서울"}});
  FAddrInfoIn.edtCompany.SetText("left from before");
  ExpectEntry("자료추가", "홍길동", "부산 중구");
  form.spbMemberAddClick();
  dbengine::TDataSet& t = dm.adoTblMember;
  EXPECT_EQ(t.State(), dbengine::dsInsert);
  EXPECT_EQ(t.FieldByName("이름").AsString(), "홍길동");
  EXPECT_EQ(t.FieldByName("선택").AsString(), "True");
  EXPECT_EQ(t.FieldByName("SDATE").AsString(), Today());
  for (const char* empty : {"존칭", "우편번호", "상세주소", "회사"}) {
    EXPECT_EQ(t.FieldByName(empty).AsString(), "") << empty;
  }
  EXPECT_EQ(StoredNames(), std::vector<std::string>({"김"}));  // not in the file yet
  form.spbMDBSaveClick();
  EXPECT_EQ(StoredNames().size(), 2u);
}

TEST_F(Records, EachWayOfStoringStoresTheAddedRecord) {
  struct {
    const char* how;
    std::function<void(ZeravuFixture&)> store;
  } ways[] = {
      {"save", [](ZeravuFixture& f) { f.main->spbMDBSaveClick(); }},
      {"move", [](ZeravuFixture& f) { f.dm.adoTblMember.Next(); }},
      {"another add",
       [](ZeravuFixture& f) {
         f.screen.ExpectModal("자료추가", [&f](ui::TForm&) {
           f.FAddrInfoIn.edtName.SetText("둘째");
           f.FAddrInfoIn.edtAddr.SetText("대구");
           return ui::mrOk;
         });
         f.main->spbMemberAddClick();
         f.dm.adoTblMember.Cancel();
       }},
      {"edit",
       [](ZeravuFixture& f) {
         f.screen.ExpectModal("자료폅집", [](ui::TForm&) { return ui::mrOk; });
         f.main->spbMemberEditClick();
       }},
      {"spreadsheet export",
       [](ZeravuFixture& f) { f.main->SaveSelectedCsv(f.dir.Path("x.csv")); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    ZeravuFixture f;
    const std::string p = f.MakeAddressDatabase(f.dir.Path("l.mdb"), {{"김", "서울"}});
    TFMain& form = f.Start({kToken, "1", p});
    form.tmActTimer();
    f.screen.ExpectModal("자료추가", [&f](ui::TForm&) {
      f.FAddrInfoIn.edtName.SetText("새");
      f.FAddrInfoIn.edtAddr.SetText("부산");
      return ui::mrOk;
    });
    form.spbMemberAddClick();
    way.store(f);
    Tdm other;
    ASSERT_TRUE(other.OpenDB(p, "l.mdb"));
    other.adoTblMember.Open();
    EXPECT_EQ(other.adoTblMember.RecordCount(), 2);
  }
}

TEST_F(Records, AddChecksTheNameFirstThenTheAddress) {
  TFMain& form = StartOn({});
  struct {
    const char* name;
    const char* address;
    const char* message;
  } cases[] = {
      {"", "", "이름을 입력 해주세요."},
      {"", "서울", "이름을 입력 해주세요."},
      {"김", "", "주소를 입력 해주세요."},
  };
  for (const auto& c : cases) {
    ExpectEntry("자료추가", c.name, c.address);
    screen.ExpectMessageBox(c.message, "알림", TMsgButtons::Ok, TMsgIcon::None);
    form.spbMemberAddClick();
    EXPECT_EQ(screen.Shown().back().Owner, &form);
    EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsBrowse);
  }
  // The next add offers empty boxes again.
  screen.ExpectModal("자료추가", [this](ui::TForm&) {
    EXPECT_EQ(FAddrInfoIn.edtName.Text(), "");
    EXPECT_EQ(FAddrInfoIn.edtAddr.Text(), "");
    return ui::mrCancel;
  });
  form.spbMemberAddClick();
}

TEST_F(Records, EnterConfirmsEscapeCancelsAndTheKeyStillReachesTheBox) {
  struct {
    ui::TKey key;
    int result;
  } keys[] = {{ui::VK_RETURN, ui::mrOk}, {ui::VK_ESCAPE, ui::mrCancel}, {'A', ui::mrNone}};
  for (const auto& k : keys) {
    FAddrInfoIn.SetModalResult(ui::mrNone);
    EXPECT_TRUE(FAddrInfoIn.KeyDown(k.key, ui::ssShift));
    EXPECT_EQ(FAddrInfoIn.ModalResult(), k.result);
  }
}

TEST_F(Records, CancelLeavesTheTableUntouchedOnAddAndEdit) {
  TFMain& form = StartOn({{"김", "서울"}});
  for (const char* caption : {"자료추가", "자료폅집"}) {
    ExpectEntry(caption, "바뀜", "바뀜", ui::mrCancel);
    if (std::string(caption) == "자료추가") {
      form.spbMemberAddClick();
    } else {
      form.spbMemberEditClick();
    }
    EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsBrowse);
  }
  EXPECT_EQ(StoredNames(), std::vector<std::string>({"김"}));
  EXPECT_EQ(FAddrInfoIn.Caption(), "자료폅집");
}

TEST_F(Records, EditFillsTheBoxesAndStoresAtOnce) {
  TFMain& form = StartOn({{"김", "서울"}});
  screen.ExpectModal("자료폅집", [this](ui::TForm&) {
    EXPECT_EQ(FAddrInfoIn.edtName.Text(), "김");
    EXPECT_EQ(FAddrInfoIn.edtAddr.Text(), "서울");
    FAddrInfoIn.edtName.SetText("김철수");
    FAddrInfoIn.edtDear.SetText("");
    return ui::mrOk;
  });
  form.spbMemberEditClick();
  EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsBrowse);
  EXPECT_EQ(StoredNames(), std::vector<std::string>({"김철수"}));
}

// Six different values each way, so that two boxes or two columns swapped anywhere show.
TEST_F(Records, EachBoxGoesToItsOwnColumnAndComesBackFromIt) {
  const struct {
    ui::TEdit TFAddrInfoIn::*box;
    const char* column;
    const char* added;
    const char* edited;
  } boxes[] = {
      {&TFAddrInfoIn::edtZip, "우편번호", "111-111", "222-222"},
      {&TFAddrInfoIn::edtAddr, "주소", "주소 1", "주소 2"},
      {&TFAddrInfoIn::edtAddAddr, "상세주소", "상세 1", "상세 2"},
      {&TFAddrInfoIn::edtCompany, "회사", "회사 1", "회사 2"},
      {&TFAddrInfoIn::edtName, "이름", "이름 1", "이름 2"},
      {&TFAddrInfoIn::edtDear, "존칭", "존칭 1", "존칭 2"},
  };
  TFMain& form = StartOn({});
  screen.ExpectModal("자료추가", [&, this](ui::TForm&) {
    for (const auto& b : boxes) (FAddrInfoIn.*b.box).SetText(b.added);
    return ui::mrOk;
  });
  form.spbMemberAddClick();
  form.spbMDBSaveClick();
  for (const auto& b : boxes) {
    EXPECT_EQ(Stored(b.column), std::vector<std::string>({b.added})) << b.column;
  }

  screen.ExpectModal("자료폅집", [&, this](ui::TForm&) {
    for (const auto& b : boxes) {
      EXPECT_EQ((FAddrInfoIn.*b.box).Text(), b.added) << b.column;
      (FAddrInfoIn.*b.box).SetText(b.edited);
    }
    return ui::mrOk;
  });
  form.spbMemberEditClick();
  for (const auto& b : boxes) {
    EXPECT_EQ(Stored(b.column), std::vector<std::string>({b.edited})) << b.column;
  }
}

TEST_F(Records, EditRightAfterAnAddStoresTheNewRecordWithTheEditedValues) {
  TFMain& form = StartOn({});
  ExpectEntry("자료추가", "새", "부산");
  form.spbMemberAddClick();
  screen.ExpectModal("자료폅집", [this](ui::TForm&) {
    EXPECT_EQ(FAddrInfoIn.edtName.Text(), "새");
    FAddrInfoIn.edtName.SetText("고침");
    return ui::mrOk;
  });
  form.spbMemberEditClick();
  EXPECT_EQ(StoredNames(), std::vector<std::string>({"고침"}));
  EXPECT_EQ(dm.adoTblMember.FieldByName("선택").AsString(), "True");
}

TEST_F(Records, EditOnAnEmptyTableCreatesARecordWithoutDateOrTick) {
  TFMain& form = StartOn({});
  ExpectEntry("자료폅집", "빈", "");
  form.spbMemberEditClick();
  EXPECT_EQ(StoredNames(), std::vector<std::string>({"빈"}));
  EXPECT_EQ(dm.adoTblMember.FieldByName("SDATE").AsString(), "");
  EXPECT_TRUE(dm.adoTblMember.FieldByName("선택").IsNull());
}

TEST_F(Records, WithoutADatabaseAddAndEditEndInTheClosedTableError) {
  TFMain& form = Start({kToken});
  ExpectEntry("자료추가", "김", "서울");
  screen.ExpectError("Cannot perform this operation on a closed dataset");
  ui::RunGuarded(screen, [&] { form.spbMemberAddClick(); });
  // The edit fails reading the first column, before the dialog shows.
  screen.ExpectError("Cannot perform this operation on a closed dataset");
  ui::RunGuarded(screen, [&] { form.spbMemberEditClick(); });
}

TEST_F(Records, ATooLongValueIsRefusedNamingTheFieldAndStaysPending) {
  TFMain& form = StartOn({{"김", "서울"}});
  const std::string longName(33, 'x');
  screen.ExpectModal("자료폅집", [&, this](ui::TForm&) {
    FAddrInfoIn.edtName.SetText(longName);
    return ui::mrOk;
  });
  screen.ExpectErrorContaining("이름");
  ui::RunGuarded(screen, [&] { form.spbMemberEditClick(); });
  EXPECT_EQ(dm.adoTblMember.State(), dbengine::dsEdit);
  EXPECT_EQ(dm.adoTblMember.FieldByName("이름").AsString(), longName);
  EXPECT_EQ(StoredNames(), std::vector<std::string>({"김"}));
}

TEST_F(Records, PostcodeLookupOverwritesBothBoxesOrLeavesThemOnCancel) {
  MakeZipDatabase({"110-034,서울 종로구 신교동,신교동", "612-020,부산 해운대구 우동,우동"});
  FZipSearch.FormCreate();
  FAddrInfoIn.edtZip.SetText("999-999");
  FAddrInfoIn.edtAddr.SetText("typed by hand");
  screen.ExpectModal("우편번호검색", [this](ui::TForm&) {
    FZipSearch.FormShow();
    FZipSearch.edIn.SetText("우");
    FZipSearch.sbDongClick();
    FZipSearch.wwDBGrid1DblClick();
    return FZipSearch.ModalResult();
  });
  FAddrInfoIn.spZipClick();
  EXPECT_EQ(FAddrInfoIn.edtZip.Text(), "612-020");
  EXPECT_EQ(FAddrInfoIn.edtAddr.Text(), "부산 해운대구 우동");

  screen.ExpectModal("우편번호검색", [](ui::TForm&) { return ui::mrCancel; });
  FAddrInfoIn.spZipClick();
  EXPECT_EQ(FAddrInfoIn.edtZip.Text(), "612-020");
  EXPECT_EQ(FAddrInfoIn.edtAddr.Text(), "부산 해운대구 우동");
}

}  // namespace
}  // namespace zeravu::testing
