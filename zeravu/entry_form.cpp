#include "zeravu/entry_form.h"

#include "postcode/zip_search.h"
#include "ui/screen.h"

namespace zeravu {

TFAddrInfoIn::TFAddrInfoIn(ui::Screen& screen, postcode::TFZipSearch& zipSearch)
    : ui::TForm("TFAddrInfoIn"), FScreen(screen), FZipSearch(zipSearch) {
  SetCaption("자료입력");
  BorderStyle = ui::TBorderStyle::Dialog;
  FormStyle = ui::TFormStyle::StayOnTop;
  Position = ui::TPosition::MainFormCenter;
  ClientWidth = 419;
  ClientHeight = 316;
  Color = ui::clFormBlue;
  KeyPreview = true;
  OnKeyDown = [this](ui::TKey& key, ui::TShiftState shift) { FormKeyDown(key, shift); };

  lblZip.SetCaption("우편번호: ");
  lblAddr.SetCaption("주소: ");
  lblAddAddr.SetCaption("상세주소: ");
  lblCompany.SetCaption("회사명: ");
  lblName.SetCaption("이름: ");
  lblDear.SetCaption("존칭: ");
  lblSearch.SetCaption("<-----검색");
  spZip.SetGlyph(ui::TGlyph::Find);
  spZip.OnClick = [this] { spZipClick(); };
  bbnOK.SetCaption("저장");
  bbnOK.SetGlyph(ui::TGlyph::Ok);
  bbnOK.OnClick = [this] { bbnOKClick(); };
  bbnCancel.SetCaption("취소");
  bbnCancel.SetGlyph(ui::TGlyph::Cancel);
  bbnCancel.OnClick = [this] { bbnCancelClick(); };
  // The postcode box has the focus when the dialog first shows; the handlers never move it.
  SetActiveControl(&edtZip);
}

addressbook::EntryRecord TFAddrInfoIn::Record() const {
  return {edtName.Text(), edtDear.Text(),    edtZip.Text(),
          edtAddr.Text(), edtAddAddr.Text(), edtCompany.Text()};
}

void TFAddrInfoIn::SetRecord(const addressbook::EntryRecord& record) {
  edtName.SetText(record.Name);
  edtDear.SetText(record.Honorific);
  edtZip.SetText(record.Postcode);
  edtAddr.SetText(record.Address);
  edtAddAddr.SetText(record.Detail);
  edtCompany.SetText(record.Company);
}

void TFAddrInfoIn::bbnOKClick() {
  SetModalResult(ui::mrOk);
}

void TFAddrInfoIn::bbnCancelClick() {
  SetModalResult(ui::mrCancel);
}

void TFAddrInfoIn::FormKeyDown(ui::TKey& key, ui::TShiftState) {
  if (key == ui::VK_RETURN) SetModalResult(ui::mrOk);
  if (key == ui::VK_ESCAPE) SetModalResult(ui::mrCancel);
}

void TFAddrInfoIn::spZipClick() {
  if (FScreen.ShowModal(FZipSearch) != ui::mrOk) return;
  edtZip.SetText(FZipSearch.ZipCode());
  edtAddr.SetText(FZipSearch.Address());
}

}  // namespace zeravu
