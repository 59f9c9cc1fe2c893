// The two ways records leave Zeravu: the spreadsheet file the user names, and the label hand-off
// that ends the run for the host.
#include <exception>

#include "addressbook/csv_writers.h"
#include "addressbook/data_module.h"
#include "dbengine/errors.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "zeravu/main_form.h"

namespace zeravu {

std::string TFMain::HandOffFileName() const {
  return platform::JoinPath(FEnvironment.TempFolder, "hhh.csv");
}

void TFMain::spbExcelSaveAsClick() {
  SDExcel.InitialDir = FIniFile->ReadString("EXCEL", "PATH", FExcelDirPath);
  if (!SDExcel.Execute(Screen)) return;
  SaveSelectedCsv(SDExcel.FileName);
  FIniFile->WriteString("EXCEL", "PATH", platform::FolderPart(SDExcel.FileName));
}

void TFMain::SaveSelectedCsv(const std::string& fileName) {
  dbengine::TDataSet& table = dm.adoTblMember;
  // Found out before the user's file is touched, so a failed export never leaves it half made.
  if (!table.Active()) throw dbengine::EDatabaseError(dbengine::kClosedDataSetMessage);

  platform::AtomicFileWriter file(fileName);
  // A record not yet stored has no position to come back to; the list then stays at the end.
  const bool remember = table.State() != dbengine::dsInsert;
  dbengine::TBookmark where = remember ? table.GetBookmark() : dbengine::TBookmark{};
  addressbook::WriteSpreadsheetCsv(table, file.Stream());
  file.Commit();
  if (remember && table.BookmarkValid(where)) table.GotoBookmark(where);
  table.FreeBookmark(where);
}

void TFMain::spbDesignClick() {
  dbengine::TDataSet& table = dm.adoTblMember;
  if (table.Active()) RefreshRecordTable();
  const std::string handOff = HandOffFileName();
  if (platform::FileExists(handOff)) platform::DeleteFile(handOff);
  if (table.Active() && table.RecordCount() > 0) {
    WriteLabelCsv(handOff);
    FIniFile->WriteString("ZERAVU", "DBOPENDIR", FAddrDirPath);
    FIniFile->WriteString("ZERAVU", "DBOPENNAME", FDBFile);
    FIniFile->WriteString("ZERAVU", "DESIGNOK", "1");
  }
  Close();
}

void TFMain::WriteLabelCsv(const std::string& fileName) {
  RefreshRecordTable();
  dbengine::TADOQuery& query = dm.Qmember;
  query.Close();
  query.SQL.Clear();
  query.SQL.Add(addressbook::kLabelQuery);
  query.Open();
  try {
    // Only the owner reads the hand-off, and it appears whole: the host never sees a part.
    platform::AtomicFileWriter file(fileName, platform::FileMode::Exactly(0600));
    addressbook::WriteLabelRows(query, file.Stream());
    file.Commit();
  } catch (...) {
    query.Close();
    throw;
  }
  query.Close();
}

}  // namespace zeravu
