#pragma once

#include <string>

namespace ui {

class Screen;

// The system's open or save dialog as a form component (OD, SDNewDB, SDExcel). Title and start
// folder are set by the handler just before Execute.
class TFileDialog {
 public:
  enum class TKind { Open, Save };

  explicit TFileDialog(TKind kind) : Kind(kind) {}

  TKind Kind;
  std::string Title;  // empty: the system's default title
  std::string InitialDir;
  std::string DefaultExt;  // without the dot; added to a name typed without an extension
  std::string FilterName;  // e.g. "Microsoft Access Files(*.mdb)"
  std::string FilterMask;  // e.g. "*.mdb"

  // Shows the dialog; true and FileName set when the user chose a file, false on cancel.
  bool Execute(Screen& screen);
  std::string FileName;
};

// The name as the dialog hands it back: the default extension appended when the file-name part
// has none.
std::string WithDefaultExt(const std::string& path, const std::string& defaultExt);

// The dialog's mask ("*.mdb", or several joined by ';') with each pattern also in upper case, so
// a file named as the other system names them ("LIST.MDB") is offered too on a file system that
// tells case apart.
std::string AnyCaseMask(const std::string& mask);

}  // namespace ui
