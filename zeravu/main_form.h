#pragma once

#include <memory>
#include <string>

#include "dbengine/data_source.h"
#include "platform/profile_file.h"
#include "ui/button.h"
#include "ui/dbaware/db_grid.h"
#include "ui/dbaware/db_navigator.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/form_storage.h"
#include "ui/label.h"
#include "ui/spin_edit.h"
#include "ui/status_bar.h"
#include "ui/timer.h"
#include "zeravu/environment.h"

namespace ui {
class Screen;
}

namespace addressbook {
class Tdm;
}

namespace zeravu {

// The data module belongs to the address book below the forms; the forms call it by its own name.
using addressbook::Tdm;
class TFAddrInfoIn;

// Zeravu's main window: the record list of the open address database and the buttons for
// everything the user does. Logic only; zeravu/main_form_view.cpp renders it.
class TFMain : public ui::TForm {
 protected:
  ui::Screen& Screen;
  Tdm& dm;
  TFAddrInfoIn& FAddrInfoIn;
  const TEnvironment FEnvironment;

 public:
  TFMain(ui::Screen& screen, Tdm& dm, TFAddrInfoIn& entryForm, TEnvironment environment);
  ~TFMain() override;

  // Button panel
  ui::TButton spdNewDB{"spdNewDB"};
  ui::TButton spbMemberAdd{"spbMemberAdd"};
  ui::TButton spbExcelSaveAs{"spbExcelSaveAs"};
  ui::TButton spbDBOpen{"spbDBOpen"};
  ui::TButton spbMemberEdit{"spbMemberEdit"};
  ui::TButton spbMDBSave{"spbMDBSave"};
  ui::TButton spbDesign{"spbDesign"};
  // Record list and bottom bar
  dbengine::TDataSource wwDSMember;
  dbengine::TDataSource wwDSQry;
  ui::TwwDBGrid wwDBGMember{"wwDBGMember", Screen, this};
  ui::TwwDBNavigator wwDBNav{"wwDBNav", Screen, this};
  ui::TLabel Label1{"Label1"};
  ui::TSpinEdit RxSE{"RxSE"};
  ui::TStatusBar StatusBar1{"StatusBar1"};
  ui::TTimer tmAct{"tmAct"};
  ui::TFileDialog SDNewDB{ui::TFileDialog::TKind::Save};
  ui::TFileDialog OD{ui::TFileDialog::TKind::Open};
  ui::TFileDialog SDExcel{ui::TFileDialog::TKind::Save};
  ui::TFormStorage FormStorage1{*this};

  // Start-up and end
  void FormCreate();
  void AppMinimize();
  // Whether the window may close now: a pending record is stored first; when that fails the
  // error is shown and the window stays open.
  void FormCloseQuery(bool& canClose);
  // Closing the main window ends Zeravu; nothing is written to the settings file.
  void FormClose();

  // Handlers
  void tmActTimer();
  void spdNewDBClick();
  void spbDBOpenClick();
  void spbMDBSaveClick();
  void RxSEChange();
  void wwDBGMemberIButtonClick();

  void CreateNewDB();
  void OpenDBFromArgs();

  // Records, through the entry dialog
  void spbMemberAddClick();
  void spbMemberEditClick();

  // Exports
  void spbExcelSaveAsClick();
  void SaveSelectedCsv(const std::string& fileName);
  void spbDesignClick();
  void WriteLabelCsv(const std::string& fileName);
  // hhh.csv in the temporary folder.
  std::string HandOffFileName() const;

  // State other parts read
  platform::ProfileFile* FIni() const { return FIniFile.get(); }
  const std::string& FDBDir() const { return FDBDirPath; }
  const std::string& FExcelDir() const { return FExcelDirPath; }
  const std::string& FAddrDir() const { return FAddrDirPath; }
  const std::string& FDBFileName() const { return FDBFile; }
  // FAddrDir, a separator and FDBFileName.
  std::string CurrentDatabasePath() const;

 protected:
  // Refresh of the record table: stores a pending record and reads the records again.
  void RefreshRecordTable();
  // Stores a modified pending record and drops an untouched new one, so nothing typed is lost
  // when the table closes; text still open in a cell editor counts as typed.
  void StorePendingRecord();

 private:
  void MakeDataFolders();

  std::unique_ptr<platform::ProfileFile> FIniFile;
  std::string FDBDirPath;
  std::string FExcelDirPath;
  std::string FAddrDirPath;
  std::string FDBFile;
};

}  // namespace zeravu
