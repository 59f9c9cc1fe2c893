#pragma once

#include "addressbook/entry_record.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/keys.h"
#include "ui/label.h"

namespace ui {
class Screen;
}
namespace postcode {
class TFZipSearch;
}

namespace zeravu {

// The record entry dialog: six boxes for the label columns of one record and a postcode lookup.
// It only collects text: the main window hands it a record to show and takes the record back;
// its add and edit handlers do the database work.
class TFAddrInfoIn : public ui::TForm {
 public:
  TFAddrInfoIn(ui::Screen& screen, postcode::TFZipSearch& zipSearch);

  ui::TLabel lblZip{"lblZip"};
  ui::TEdit edtZip{"edtZip"};
  ui::TButton spZip{"spZip"};
  ui::TLabel lblSearch{"lblSearch"};
  ui::TLabel lblAddr{"lblAddr"};
  ui::TEdit edtAddr{"edtAddr"};
  ui::TLabel lblAddAddr{"lblAddAddr"};
  ui::TEdit edtAddAddr{"edtAddAddr"};
  ui::TLabel lblCompany{"lblCompany"};
  ui::TEdit edtCompany{"edtCompany"};
  ui::TLabel lblName{"lblName"};
  ui::TEdit edtName{"edtName"};
  ui::TLabel lblDear{"lblDear"};
  ui::TEdit edtDear{"edtDear"};
  ui::TButton bbnOK{"bbnOK"};
  ui::TButton bbnCancel{"bbnCancel"};

  // The six boxes, as a record and from one.
  addressbook::EntryRecord Record() const;
  void SetRecord(const addressbook::EntryRecord& record);

  void bbnOKClick();
  void bbnCancelClick();
  // Key preview: Enter confirms, Escape cancels; the key still reaches the focused box.
  void FormKeyDown(ui::TKey& key, ui::TShiftState shift);
  // The postcode lookup; OK overwrites both the postcode and the address box.
  void spZipClick();

 private:
  ui::Screen& FScreen;
  postcode::TFZipSearch& FZipSearch;
};

}  // namespace zeravu
