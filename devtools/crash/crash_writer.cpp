// Writes the way Zeravu does, over and over, so that the reliability tests can kill it at any
// moment. After each write that has landed it prints the item's number on a line of its own;
// whatever it printed must survive the kill.
//
//   zarize-crash-writer settings <file> <key prefix> <first> <count>
//   zarize-crash-writer handoff <database> <temporary folder> <count>
//   zarize-crash-writer post <database> <name prefix> <first> <count>
//   zarize-crash-writer create <database>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "addressbook/data_module.h"
#include "devtools/crash/crash_values.h"
#include "platform/profile_file.h"
#include "postcode/zip_search.h"
#include "ui/testing/scripted_screen.h"
#include "zeravu/entry_form.h"
#include "zeravu/main_form.h"

namespace {

// Straight to the pipe, unbuffered: a number printed is a write done.
void Report(int n) {
  const std::string line = std::to_string(n) + "\n";
  if (write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
    throw std::runtime_error("cannot report");
  }
}

void WriteSettings(const std::string& path, const std::string& prefix, int first, int count) {
  platform::ProfileFile file(path);
  for (int n = first; n < first + count; ++n) {
    file.WriteString(crash::kSettingsSection, crash::ItemName(prefix, n), crash::ItemValue(n));
    Report(n);
  }
}

void OpenOrFail(addressbook::Tdm& dm, const std::string& path) {
  if (!dm.OpenDB(path, path)) throw std::runtime_error("cannot open " + path);
  dm.adoTblMember.SetActive(true);
}

// The label hand-off as the design button makes it: the old file goes, the new one is written.
// Nothing may be shown on the way; the scripted Screen records anything that was.
void WriteHandOff(const std::string& database, const std::string& tempFolder, int count) {
  ui::testing::ScriptedScreen screen;
  addressbook::Tdm dm;
  postcode::TFZipSearch zipSearch(screen, tempFolder);
  zeravu::TFAddrInfoIn entryForm(screen, zipSearch);
  zeravu::TEnvironment environment;
  environment.TempFolder = tempFolder;
  zeravu::TFMain main(screen, dm, entryForm, environment);
  OpenOrFail(dm, database);
  for (int n = 0; n < count; ++n) {
    std::remove(main.HandOffFileName().c_str());
    main.WriteLabelCsv(main.HandOffFileName());
    if (!screen.Shown().empty()) throw std::runtime_error("the hand-off showed a message");
    Report(n);
  }
}

void PostRecords(const std::string& database, const std::string& prefix, int first, int count) {
  addressbook::Tdm dm;
  OpenOrFail(dm, database);
  dbengine::TADOTable& table = dm.adoTblMember;
  for (int n = first; n < first + count; ++n) {
    table.Insert();
    table.FieldByName("이름").SetAsString(crash::ItemName(prefix, n));
    table.FieldByName("주소").SetAsString(crash::ItemValue(n));
    table.FieldByName("선택").SetAsBoolean(true);
    table.Post();
    Report(n);
  }
}

// The new-database flow's two steps: the empty file, then its tables.
void CreateDatabase(const std::string& path) {
  addressbook::Tdm dm;
  if (!dm.CreateMDBFile(path) || !dm.CreateTables(path, path)) {
    throw std::runtime_error("cannot create " + path);
  }
  Report(0);
}

int Usage() {
  std::cerr << "usage: zarize-crash-writer settings|handoff|post|create ...\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 5 && args[0] == "settings") {
      WriteSettings(args[1], args[2], std::stoi(args[3]), std::stoi(args[4]));
    } else if (args.size() == 4 && args[0] == "handoff") {
      WriteHandOff(args[1], args[2], std::stoi(args[3]));
    } else if (args.size() == 5 && args[0] == "post") {
      PostRecords(args[1], args[2], std::stoi(args[3]), std::stoi(args[4]));
    } else if (args.size() == 2 && args[0] == "create") {
      CreateDatabase(args[1]);
    } else {
      return Usage();
    }
  } catch (const std::exception& error) {
    std::cerr << "zarize-crash-writer: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
