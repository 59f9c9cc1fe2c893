#include "addressbook/entry_record.h"

#include <gtest/gtest.h>

#include "addressbook/tests/address_db_fixture.h"

namespace addressbook::testing {
namespace {

class Entry : public ::testing::Test, public AddressDbFixture {};

// Editing through the dialog writes its six columns and nothing else: the telephone, the tick and
// the mailing columns the dialog never shows stay as they were.
TEST_F(Entry, TheSixValuesGoToTheirColumnsAndTheOthersStay) {
  NewDatabase("list.mdb");
  AddRecord({{"이름", "홍길동"}, {"전화", "02-555-1234"}, {"발송명", "홍 사장"}}, false);

  const EntryRecord edited{"김철수", "귀하", "100-011", "서울 중구 충무로1가", "2층", "가나상사"};
  dbengine::TDataSet& table = dm.adoTblMember;
  table.Edit();
  WriteEntryRecord(edited, table);
  table.Post();
  Reopen();

  EXPECT_EQ(ReadEntryRecord(dm.adoTblMember), edited);
  EXPECT_EQ(table.FieldByName("전화").AsString(), "02-555-1234");
  EXPECT_EQ(table.FieldByName("발송명").AsString(), "홍 사장");
  EXPECT_EQ(table.FieldByName("선택").AsString(), "False");
}

}  // namespace
}  // namespace addressbook::testing
