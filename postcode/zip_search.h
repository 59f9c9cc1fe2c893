#pragma once

#include <functional>
#include <optional>
#include <string>

#include "dbengine/connection.h"
#include "dbengine/data_source.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/dbaware/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"

namespace ui {
class Screen;
}

namespace postcode {

// The postcode database a program reads: DB/Zip/20080327.mdb in the program's own folder.
std::string ZipDBPathBeside(const std::string& executableFolder);

// What Zireziv makes of the form: its only window, where each pick is handed on at once instead
// of ending a modal showing. Zeravu uses the form as a dialog and needs none of this.
struct TZipSearchWindow {
  // Runs in FormCreate before the postcode database is opened (Zireziv's start-up checks); false
  // ends FormCreate there, with the database left closed.
  std::function<bool()> BeforeOpen;
  // Takes each picked postcode and address.
  std::function<void(const std::string& zipCode, const std::string& address)> SendPick;
};

// The postcode lookup form: search the postcode database by the name of a town, township or
// neighbourhood, or list all of it, and pick the grid's current row.
class TFZipSearch : public ui::TForm {
 public:
  // Zeravu's modal dialog: a pick ends the showing with OK and leaves the row in ZipCode() and
  // Address(); a pick with nothing listed ends it with Cancel.
  TFZipSearch(ui::Screen& screen, std::string executableFolder);
  // Zireziv's window.
  TFZipSearch(ui::Screen& screen, std::string executableFolder, TZipSearchWindow window);

  dbengine::TADOConnection conn;
  dbengine::TADOTable ADOT;
  dbengine::TADOQuery DQ1;
  dbengine::TDataSource wwDS;
  // Read-only: 우편번호 and 주소 of whichever data set wwDS is bound to.
  ui::TwwDBGrid wwDBGrid1;

  ui::TLabel Label1{"Label1"};
  ui::TEdit edIn{"edIn"};
  ui::TButton spbAll{"spbAll"};
  ui::TButton spbSearch{"spbSearch"};
  ui::TButton bbnOk{"bbnOk"};
  ui::TButton bbnCancel{"bbnCancel"};
  ui::TCheckBox chOnlyZip{"chOnlyZip"};

  // Both catch every error and answer false; neither shows anything.
  bool OpenZipDB(const std::string& path, const std::string& tableName);
  bool CloseZipDB();

  // The program calls FormCreate once, right after making the form.
  void FormCreate();
  void FormShow();
  void sbDongClick();
  void spbAllClick();
  void wwDBGrid1DblClick();
  void BitBtn2Click();
  void bbCancelClick();
  void edInKeyPress(char32_t& key);

  const std::string& ZipDBPath() const { return FZipDBPath; }
  const std::string& ZipTable() const { return FZipTable; }
  const std::string& ZipCode() const { return FZipCode; }
  const std::string& Address() const { return FAddress; }
  bool HasRows() const { return FHasRows; }

 private:
  ui::Screen& FScreen;
  std::string FExecutableFolder;
  std::optional<TZipSearchWindow> FWindow;

  std::string FZipDBPath;
  std::string FZipTable;
  std::string FZipCode;
  std::string FAddress;
  bool FHasRows = false;
};

}  // namespace postcode
