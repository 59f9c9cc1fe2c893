#include "zeravu/main_form.h"

#include <exception>

#include "addressbook/data_module.h"
#include "addressbook/new_database.h"
#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/launch_token.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "ui/screen.h"

namespace zeravu {

namespace {

const char* const kSettingsFile = "zeder.INI";
const char* const kDatabaseError = "데이터베이스에 오류가 있습니다.";
const char* const kAccessFilterName = "Microsoft Access Files(*.mdb)";

}  // namespace

TFMain::TFMain(ui::Screen& screen, Tdm& dataModule, TFAddrInfoIn& entryForm,
               TEnvironment environment)
    : ui::TForm("TFMain"),
      Screen(screen),
      dm(dataModule),
      FAddrInfoIn(entryForm),
      FEnvironment(std::move(environment)) {
  SetCaption("자료관리");
  FormStyle = ui::TFormStyle::StayOnTop;
  Position = ui::TPosition::Designed;
  Left = 274;
  Top = 101;
  ClientWidth = 762;
  ClientHeight = 586;
  Color = ui::clFormBlue;

  spdNewDB.SetCaption("새 자료");
  spbMemberAdd.SetCaption("자료추가");
  spbExcelSaveAs.SetCaption("엑셀로 저장");
  spbDBOpen.SetCaption("자료열기");
  spbMemberEdit.SetCaption("자료편집");
  spbMDBSave.SetCaption("저장");
  spbDesign.SetCaption("라벨 디자인");
  spdNewDB.SetGlyph(ui::TGlyph::New);
  spbMemberAdd.SetGlyph(ui::TGlyph::Add);
  spbExcelSaveAs.SetGlyph(ui::TGlyph::SaveAs);
  spbDBOpen.SetGlyph(ui::TGlyph::Open);
  spbMemberEdit.SetGlyph(ui::TGlyph::Edit);
  spbMDBSave.SetGlyph(ui::TGlyph::Save);
  spbDesign.SetGlyph(ui::TGlyph::Print);
  spdNewDB.OnClick = [this] { spdNewDBClick(); };
  spbMemberAdd.OnClick = [this] { spbMemberAddClick(); };
  spbMemberEdit.OnClick = [this] { spbMemberEditClick(); };
  spbDBOpen.OnClick = [this] { spbDBOpenClick(); };
  spbMDBSave.OnClick = [this] { spbMDBSaveClick(); };
  spbExcelSaveAs.OnClick = [this] { spbExcelSaveAsClick(); };
  spbDesign.OnClick = [this] { spbDesignClick(); };

  wwDSMember.SetDataSet(&dm.adoTblMember);
  wwDSQry.SetDataSet(&dm.Qmember);

  wwDBGMember.SetDataSource(&wwDSMember);
  wwDBGMember.SetColumns({{"선택", 5, "선택"},
                          {"우편번호", 7, "우편번호"},
                          {"주소", 40, "주소"},
                          {"상세주소", 20, "상세주소"},
                          {"회사", 20, "회사"},
                          {"이름", 10, "이름"},
                          {"존칭", 20, "존칭"}});
  ui::TwwDBGridOptions gridOptions;
  gridOptions.WordWrap = true;
  wwDBGMember.SetOptions(gridOptions);
  wwDBGMember.SetTitleColor(ui::clFormBlue);
  wwDBGMember.SetFixedCols(1);
  wwDBGMember.IButton.SetHint("원상태로 복구");
  wwDBGMember.IButton.SetGlyph(ui::TGlyph::Undo);
  wwDBGMember.IButton.SetVisible(true);
  wwDBGMember.IButton.OnClick = [this] { wwDBGMemberIButtonClick(); };
  wwDBNav.SetDataSource(&wwDSMember);
  wwDBNav.SetColor(ui::clFormBlue);

  Label1.SetCaption("필드고정: ");
  RxSE.SetMinValue(1);
  RxSE.SetMaxValue(10);
  RxSE.SetIncrement(1);
  RxSE.SetValue(1);
  RxSE.OnChange = [this] { RxSEChange(); };

  StatusBar1.AddPanel(100, "데이터 베이스");
  StatusBar1.AddPanel(200, "...");

  tmAct.SetInterval(10);
  tmAct.SetEnabled(false);
  tmAct.OnTimer = [this] { tmActTimer(); };
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  OnClose = [this] { FormClose(); };

  SDNewDB.DefaultExt = "mdb";
  SDNewDB.FilterName = kAccessFilterName;
  SDNewDB.FilterMask = "*.mdb";
  OD.DefaultExt = "mdb";
  OD.FilterName = kAccessFilterName;
  OD.FilterMask = "*.mdb";
  SDExcel.DefaultExt = "csv";
  SDExcel.FilterName = "엑셀텍스트파일(*.csv)";
  SDExcel.FilterMask = "*.csv";
}

TFMain::~TFMain() = default;

std::string TFMain::CurrentDatabasePath() const {
  return platform::JoinPath(FAddrDirPath, FDBFile);
}

void TFMain::FormCreate() {
  Screen.SetOnMinimize([this] { AppMinimize(); });

  if (!platform::IsLaunchToken(FEnvironment.Arg(1))) {
    Screen.MessageBox(this, "단독으로 실행할 수 없습니다.", "알림", ui::TMsgButtons::Ok,
                      ui::TMsgIcon::Information);
    Screen.Terminate(100);
    return;
  }

  FIniFile = std::make_unique<platform::ProfileFile>(
      platform::JoinPath(FEnvironment.ExecutableFolder, kSettingsFile));
  Screen.RemoveTaskbarButton();

  try {
    MakeDataFolders();
  } catch (const platform::EInOutError& e) {
    // The window still comes up and its buttons work, but without its folders the mode on the
    // command line is not carried out.
    Screen.ShowError(e.what());
    return;
  }

  RxSEChange();
  tmAct.SetEnabled(true);
}

void TFMain::MakeDataFolders() {
  // Without a documents folder there is nowhere to keep the data folders; say so the way any
  // other folder failure is said.
  if (FEnvironment.DocumentsFolder.empty()) throw platform::EInOutError("Path not found", 0);

  const std::string base = platform::JoinPath(FEnvironment.DocumentsFolder, "ZARIZE");
  if (!platform::DirectoryExists(base)) platform::CreateFolder(base);
  FDBDirPath = base + "/DB";
  if (!platform::DirectoryExists(FDBDirPath)) platform::CreateFolder(FDBDirPath);
  FExcelDirPath = FDBDirPath + "/Excel";
  if (!platform::DirectoryExists(FExcelDirPath)) platform::CreateFolder(FExcelDirPath);
  FAddrDirPath = FDBDirPath + "/Address";
  if (!platform::DirectoryExists(FAddrDirPath)) platform::CreateFolder(FAddrDirPath);
}

void TFMain::AppMinimize() {
  Screen.RestoreApplication();
  Screen.MessageBox(this, "작업을 끝내려면 '라벨디자인'\r\n버튼을 클릭 해주세요.", "",
                    ui::TMsgButtons::Ok, ui::TMsgIcon::Information);
}

void TFMain::FormCloseQuery(bool& canClose) {
  try {
    StorePendingRecord();
  } catch (const std::exception& e) {
    Screen.ShowError(e.what());
    canClose = false;
  }
}

void TFMain::FormClose() {
  FIniFile.reset();
}

void TFMain::tmActTimer() {
  Screen.RestoreApplication();
  tmAct.SetEnabled(false);
  const int mode = platform::StrToInt(FEnvironment.Arg(2));
  if (mode == 0) {
    spdNewDB.Click();
  } else if (mode == 1) {
    const std::string path = FEnvironment.Arg(3);
    FAddrDirPath = platform::FolderPart(path);
    FDBFile = platform::FileNamePart(path);
    if (platform::FileExists(CurrentDatabasePath())) OpenDBFromArgs();
  }
}

void TFMain::spdNewDBClick() {
  SDNewDB.Title = "새주소 등록";
  SDNewDB.InitialDir = FAddrDirPath;
  if (SDNewDB.Execute(Screen)) {
    const std::string chosen = SDNewDB.FileName;
    if (platform::FileExists(chosen)) {
      int answer = Screen.MessageBox(this, "같은 DB가 존재합니다. 덮어 쓰겠습니까?", "주의",
                                     ui::TMsgButtons::OkCancel, ui::TMsgIcon::Warning);
      if (answer != ui::mrOk) return;
      StorePendingRecord();
      // The old file stays until its replacement is whole (CreateNewDB), so a creation that
      // fails never leaves the user without the database.
      dm.adoTblMember.SetActive(false);
      dm.CloseDB();
    } else {
      StorePendingRecord();
    }
    FAddrDirPath = platform::FolderPart(chosen);
    FDBFile = platform::FileNamePart(chosen);
    CreateNewDB();
    FIniFile->WriteString("ZERAVU", "DBOPENDIR", FAddrDirPath);
    FIniFile->WriteString("ZERAVU", "DBOPENNAME", FDBFile);
    spbMemberAdd.Click();
  }
  RefreshRecordTable();
}

void TFMain::CreateNewDB() {
  ui::TBusyCursor busy(Screen);
  try {
    dm.adoTblMember.SetActive(false);
    dm.CloseDB();
    const std::string path = CurrentDatabasePath();
    const addressbook::NewDatabaseResult made = addressbook::BuildNewDatabase(dm, path);
    switch (made.Step) {
      case addressbook::NewDatabaseStep::Created:
        break;
      case addressbook::NewDatabaseStep::DriverFailed:
        // The data module answers which driver requests failed; the window names each.
        if (made.Requests.DataSourceFailure) Screen.ShowMessage("Create DSN (Datasource) failed!");
        if (made.Requests.FileFailure) Screen.ShowMessage("Create MDB (Database file) failed!");
        Screen.ShowMessage(path);
        Screen.MessageBox(this, "DB생성 실패!!", "실패", ui::TMsgButtons::Ok, ui::TMsgIcon::Error);
        return;
      case addressbook::NewDatabaseStep::NoFile:
        Screen.MessageBox(this, "등록에 실패하였습니다.", "실패", ui::TMsgButtons::Ok,
                          ui::TMsgIcon::Error);
        return;
      case addressbook::NewDatabaseStep::TablesFailed:
        return;
    }
    Screen.MessageBox(this, "등록되었습니다!!", "성공", ui::TMsgButtons::Ok,
                      ui::TMsgIcon::Information);
    if (!dm.OpenDB(path, FDBFile)) {
      Screen.MessageBox(this, kDatabaseError, "실패", ui::TMsgButtons::Ok, ui::TMsgIcon::Error);
      return;
    }
    dm.adoTblMember.SetActive(true);
    StatusBar1.SetPanelText(1, FDBFile);
  } catch (const std::exception&) {
    // Creating reports only through the messages above; anything else ends it quietly.
  }
}

void TFMain::spbDBOpenClick() {
  OD.Title = "자료열기";
  OD.InitialDir = FIniFile->ReadString("ZERAVU", "DBOPENDIR", FAddrDirPath);
  if (!OD.Execute(Screen)) return;
  StorePendingRecord();
  dm.adoTblMember.SetActive(false);
  dm.CloseDB();
  FDBFile = platform::FileNamePart(OD.FileName);
  if (dm.OpenDB(OD.FileName, FDBFile)) {
    dm.adoTblMember.SetActive(true);
    StatusBar1.SetPanelText(1, FDBFile);
  } else {
    Screen.ShowMessage(kDatabaseError);
  }
}

void TFMain::OpenDBFromArgs() {
  dm.adoTblMember.SetActive(false);
  dm.CloseDB();
  if (!dm.OpenDB(CurrentDatabasePath(), FDBFile)) {
    Screen.ShowMessage(kDatabaseError);
    return;
  }
  dm.adoTblMember.TableName = "addr_rec";
  dm.adoTblMember.IndexFieldNames = "GID";
  dm.adoTblMember.SetActive(true);
  StatusBar1.SetPanelText(1, FDBFile);
}

void TFMain::spbMDBSaveClick() {
  RefreshRecordTable();
}

void TFMain::RxSEChange() {
  wwDBGMember.SetFixedCols(RxSE.Value());
}

void TFMain::wwDBGMemberIButtonClick() {
  dm.adoTblMember.SetSort("GID ASC");
}

void TFMain::RefreshRecordTable() {
  dm.adoTblMember.Refresh();
}

void TFMain::StorePendingRecord() {
  dbengine::TDataSet& table = dm.adoTblMember;
  if (table.State() != dbengine::dsEdit && table.State() != dbengine::dsInsert) return;
  table.UpdateRecord();
  if (table.Modified()) {
    table.Post();
  } else {
    table.Cancel();
  }
}

}  // namespace zeravu
