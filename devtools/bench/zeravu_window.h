#pragma once

#include <sqlite3.h>

#include <string>

#include "addressbook/data_module.h"
#include "postcode/zip_search.h"
#include "ui/testing/scripted_screen.h"
#include "zeravu/entry_form.h"
#include "zeravu/main_form.h"

namespace bench {

// Zeravu as its start-up makes it (main window, data module, lookup and entry dialogs) on the
// tests' scripted Screen, which expects nothing and records anything shown, launched by the host
// in mode 1 on `database`. Its settings file, documents and temporary folder are under `folder`.
class TZeravu {
 public:
  TZeravu(const std::string& folder, const std::string& database);

  // The main window's creation event, then the start-up timer's one tick: OpenDBFromArgs opens
  // the database in the record list. Aborts when the list did not open or anything was shown: a
  // flow that went wrong is not worth timing.
  void Start();

  ui::testing::ScriptedScreen screen;
  addressbook::Tdm dm;
  postcode::TFZipSearch zipSearch{screen, ""};
  zeravu::TFAddrInfoIn entry{screen, zipSearch};
  zeravu::TFMain main;
};

// The host's launch up to the first screenful of the record list painted. Answers the bytes read.
std::size_t OpenAndShowFirst(TZeravu& zeravu);
// The host's launch up to a usable record list: Start, the first screenful painted, the
// navigator's jump to the last record and that screenful painted. Answers the bytes read.
std::size_t OpenAndShowLast(TZeravu& zeravu);
// The launch, then every shown cell of every record read through the grid model, and the jump to
// the last record.
std::size_t OpenAndWalk(TZeravu& zeravu);
// The baseline of both: raw SQLite opens the file read-write, as the data module does, and reads
// every row and column of the record list's statement.
std::size_t RawOpenAndRead(const std::string& database);
// The least raw SQLite does to show a list: open the file, count the rows, read the first
// screenful of rows in the list's order, every column.
std::size_t RawOpenCountAndScreenful(const std::string& database);
// A screenful of rows in the list's order from `offset`, every column, on an open file; from the
// end backwards when `fromTheEnd`.
std::size_t RawScreenful(sqlite3* db, long long offset, bool fromTheEnd);

}  // namespace bench
