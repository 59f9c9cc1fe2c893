#include "postcode/zip_search.h"

#include <exception>

#include "dbengine/jet_connection_string.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "ui/color.h"
#include "ui/screen.h"

namespace postcode {

namespace {

constexpr const char* kZipTable = "zip";
// The typed text goes in as a parameter, never into the statement's text: an apostrophe is
// searched for and cannot end the pattern, while % and _ keep their meaning in LIKE.
constexpr const char* kSearchStatement =
    "SELECT 우편번호,주소 FROM zip WHERE 읍면동 like :dong ORDER BY 우편번호";

}  // namespace

std::string ZipDBPathBeside(const std::string& executableFolder) {
  return platform::JoinPath(executableFolder, "DB/Zip/20080327.mdb");
}

TFZipSearch::TFZipSearch(ui::Screen& screen, std::string executableFolder)
    : TForm("TFZipSearch"),
      wwDBGrid1("wwDBGrid1", screen, this),
      FScreen(screen),
      FExecutableFolder(std::move(executableFolder)) {
  SetCaption("우편번호검색");
  BorderStyle = ui::TBorderStyle::Dialog;
  Position = ui::TPosition::Designed;
  Left = 574;
  Top = 78;
  ClientWidth = 346;
  ClientHeight = 385;
  Color = ui::clFormBlue;

  // The provider is a design setting; the file is named by OpenZipDB.
  conn.ConnectionString = "Provider=Microsoft.Jet.OLEDB.4.0";
  conn.LoginPrompt = false;
  ADOT.Connection = &conn;
  ADOT.TableName = kZipTable;
  ADOT.CursorType = dbengine::ctStatic;
  DQ1.Connection = &conn;
  DQ1.CursorType = dbengine::ctStatic;
  wwDS.AutoEdit = false;
  wwDS.SetDataSet(&DQ1);

  wwDBGrid1.SetDataSource(&wwDS);
  wwDBGrid1.SetColumns({{"우편번호", 8, "우편번호"}, {"주소", 40, "주소"}});
  ui::TwwDBGridOptions options;
  options.Editing = false;
  options.RowSelect = true;
  options.WordWrap = true;
  options.Tabs = false;
  wwDBGrid1.SetOptions(options);
  wwDBGrid1.SetTitleColor(ui::clFormBlue);
  wwDBGrid1.OnDblClick = [this] { wwDBGrid1DblClick(); };

  Label1.SetCaption("읍/면/동: ");
  edIn.OnKeyPress = [this](char32_t& key) { edInKeyPress(key); };
  spbAll.SetGlyph(ui::TGlyph::List);
  spbAll.SetHint("전국우편번호");
  spbAll.OnClick = [this] { spbAllClick(); };
  spbSearch.SetCaption("검색");
  spbSearch.SetGlyph(ui::TGlyph::Find);
  spbSearch.OnClick = [this] { sbDongClick(); };
  bbnOk.SetCaption("확인");
  bbnOk.SetGlyph(ui::TGlyph::Ok);
  bbnOk.OnClick = [this] { wwDBGrid1DblClick(); };
  bbnCancel.SetCaption("취소");
  bbnCancel.SetGlyph(ui::TGlyph::Cancel);
  bbnCancel.OnClick = [this] { BitBtn2Click(); };
  chOnlyZip.SetCaption("우편번호만 필요");
  // Unticked, and nothing enables it: every pick takes the address too.
  chOnlyZip.SetEnabled(false);

  SetActiveControl(&edIn);
  OnShow = [this] { FormShow(); };
}

TFZipSearch::TFZipSearch(ui::Screen& screen, std::string executableFolder, TZipSearchWindow window)
    : TFZipSearch(screen, std::move(executableFolder)) {
  FWindow = std::move(window);
  // Shown once, as it was made, and kept above the host's windows until closed.
  OnShow = nullptr;
  FormStyle = ui::TFormStyle::StayOnTop;
  ClientWidth = 334;
  bbnCancel.SetCaption("취소(닫기)");
  bbnCancel.OnClick = [this] { bbCancelClick(); };
  chOnlyZip.SetVisible(false);
}

bool TFZipSearch::OpenZipDB(const std::string& path, const std::string& tableName) {
  try {
    if (!platform::FileExists(path)) return false;
    CloseZipDB();
    conn.ConnectionString = dbengine::JetConnectionString(path);
    conn.Open();
    if (!conn.Connected()) return false;
    FZipDBPath = path;
    FZipTable = tableName;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TFZipSearch::CloseZipDB() {
  try {
    if (conn.Connected()) conn.Close();
    if (conn.Connected()) return false;
    FZipDBPath.clear();
    FZipTable.clear();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TFZipSearch::FormCreate() {
  FHasRows = false;
  if (FWindow && FWindow->BeforeOpen && !FWindow->BeforeOpen()) return;
  if (!OpenZipDB(ZipDBPathBeside(FExecutableFolder), kZipTable)) {
    FScreen.ShowMessage("데이터베이스 오류");
    CloseZipDB();
  }
}

void TFZipSearch::FormShow() {
  edIn.SetText("");
  DQ1.Close();
  ADOT.Close();
  FHasRows = false;
  SetActiveControl(&edIn);
}

void TFZipSearch::sbDongClick() {
  const std::string typed = edIn.Text();
  if (typed.empty()) {
    FScreen.ShowMessage("동 이름을 입력해주셔야 합니다.");
    return;
  }
  ADOT.Close();
  wwDS.SetDataSet(&DQ1);
  DQ1.Close();
  FHasRows = false;
  DQ1.SQL.Clear();
  DQ1.SQL.Add(kSearchStatement);
  DQ1.Parameters.ParamByName("dong").Value = "%" + typed + "%";
  DQ1.Open();
  FHasRows = DQ1.RecordCount() > 0;
}

void TFZipSearch::spbAllClick() {
  edIn.SetText("");
  DQ1.Close();
  FHasRows = false;
  wwDS.SetDataSet(&ADOT);
  ADOT.Open();
  FHasRows = ADOT.RecordCount() > 0;
}

void TFZipSearch::wwDBGrid1DblClick() {
  FZipCode.clear();
  FAddress.clear();
  if (!FHasRows) {
    if (!FWindow) SetModalResult(ui::mrCancel);
    return;
  }
  // The grid's current row is the current record of the data set it shows.
  dbengine::TDataSet& shown = *wwDS.DataSet();
  FZipCode = shown.FieldByName("우편번호").AsString();
  if (!chOnlyZip.Checked()) FAddress = shown.FieldByName("주소").AsString();
  if (FWindow) {
    if (FWindow->SendPick) FWindow->SendPick(FZipCode, FAddress);
  } else {
    SetModalResult(ui::mrOk);
  }
}

void TFZipSearch::BitBtn2Click() {
  SetModalResult(ui::mrCancel);
}

void TFZipSearch::bbCancelClick() {
  Close();
}

void TFZipSearch::edInKeyPress(char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  sbDongClick();
}

}  // namespace postcode
