// Adding and editing records through the entry dialog.
#include "addressbook/data_module.h"
#include "platform/today.h"
#include "ui/screen.h"
#include "zeravu/entry_form.h"
#include "zeravu/main_form.h"

namespace zeravu {

void TFMain::spbMemberAddClick() {
  TFAddrInfoIn& entry = FAddrInfoIn;
  entry.SetCaption("자료추가");
  for (ui::TEdit* box : {&entry.edtName, &entry.edtDear, &entry.edtZip, &entry.edtAddr,
                         &entry.edtAddAddr, &entry.edtCompany}) {
    box->SetText("");
  }
  if (Screen.ShowModal(entry) != ui::mrOk) return;
  if (entry.edtName.Text().empty()) {
    Screen.MessageBox(this, "이름을 입력 해주세요.", "알림", ui::TMsgButtons::Ok,
                      ui::TMsgIcon::None);
    return;
  }
  if (entry.edtAddr.Text().empty()) {
    Screen.MessageBox(this, "주소를 입력 해주세요.", "알림", ui::TMsgButtons::Ok,
                      ui::TMsgIcon::None);
    return;
  }
  dbengine::TDataSet& table = dm.adoTblMember;
  table.Insert();
  table.FieldByName("SDATE").SetAsString(platform::TodayText());
  table.FieldByName("선택").SetAsBoolean(true);
  WriteEntryBoxes();
}

void TFMain::spbMemberEditClick() {
  TFAddrInfoIn& entry = FAddrInfoIn;
  dbengine::TDataSet& table = dm.adoTblMember;
  entry.SetCaption("자료폅집");
  // The boxes show what the record holds, text still open in a cell editor included.
  table.UpdateRecord();
  entry.edtName.SetText(table.FieldByName("이름").AsString());
  entry.edtDear.SetText(table.FieldByName("존칭").AsString());
  entry.edtZip.SetText(table.FieldByName("우편번호").AsString());
  entry.edtAddr.SetText(table.FieldByName("주소").AsString());
  entry.edtAddAddr.SetText(table.FieldByName("상세주소").AsString());
  entry.edtCompany.SetText(table.FieldByName("회사").AsString());
  if (Screen.ShowModal(entry) != ui::mrOk) return;
  table.Edit();
  WriteEntryBoxes();
  table.Post();
}

void TFMain::WriteEntryBoxes() {
  dbengine::TDataSet& table = dm.adoTblMember;
  const TFAddrInfoIn& entry = FAddrInfoIn;
  table.FieldByName("이름").SetAsString(entry.edtName.Text());
  table.FieldByName("존칭").SetAsString(entry.edtDear.Text());
  table.FieldByName("우편번호").SetAsString(entry.edtZip.Text());
  table.FieldByName("주소").SetAsString(entry.edtAddr.Text());
  table.FieldByName("상세주소").SetAsString(entry.edtAddAddr.Text());
  table.FieldByName("회사").SetAsString(entry.edtCompany.Text());
}

}  // namespace zeravu
