// Adding and editing records through the entry dialog.
#include "addressbook/data_module.h"
#include "addressbook/entry_record.h"
#include "platform/today.h"
#include "ui/screen.h"
#include "zeravu/entry_form.h"
#include "zeravu/main_form.h"

namespace zeravu {

void TFMain::spbMemberAddClick() {
  TFAddrInfoIn& entry = FAddrInfoIn;
  entry.SetCaption("자료추가");
  entry.SetRecord({});
  if (Screen.ShowModal(entry) != ui::mrOk) return;
  const addressbook::EntryRecord record = entry.Record();
  if (record.Name.empty()) {
    Screen.MessageBox(this, "이름을 입력 해주세요.", "알림", ui::TMsgButtons::Ok,
                      ui::TMsgIcon::None);
    return;
  }
  if (record.Address.empty()) {
    Screen.MessageBox(this, "주소를 입력 해주세요.", "알림", ui::TMsgButtons::Ok,
                      ui::TMsgIcon::None);
    return;
  }
  dbengine::TDataSet& table = dm.adoTblMember;
  table.Insert();
  table.FieldByName("SDATE").SetAsString(platform::TodayText());
  table.FieldByName("선택").SetAsBoolean(true);
  addressbook::WriteEntryRecord(record, table);
}

void TFMain::spbMemberEditClick() {
  TFAddrInfoIn& entry = FAddrInfoIn;
  dbengine::TDataSet& table = dm.adoTblMember;
  entry.SetCaption("자료폅집");
  // The boxes show what the record holds, text still open in a cell editor included.
  table.UpdateRecord();
  entry.SetRecord(addressbook::ReadEntryRecord(table));
  if (Screen.ShowModal(entry) != ui::mrOk) return;
  table.Edit();
  addressbook::WriteEntryRecord(entry.Record(), table);
  table.Post();
}

}  // namespace zeravu
