// zarize-host: the pieces of a host that the reference run (scripts/run) needs and a shell
// cannot do well: the settings file through the same profile rules Zeravu uses, the hand-off file
// in code page 949 and the user's folders as the programs find them.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/profile_file.h"
#include "programs/host/hand_off_text.h"
#include "programs/host/host_settings.h"

namespace {

constexpr const char* kUsage =
    "usage: zarize-host COMMAND ARGUMENTS...\n"
    "  clear-flag INI         set DESIGNOK in section ZERAVU to 0, as a host does before a start\n"
    "  keys INI               print DBOPENDIR, DBOPENNAME and DESIGNOK of section ZERAVU\n"
    "  table CSV              print the hand-off file (code page 949) as a UTF-8 table\n"
    "  merge-text CSV OUT     write the hand-off file as UTF-8 mail-merge text to OUT\n"
    "  folder documents|temp|runtime\n"
    "                         print that folder as the programs find it\n";

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw platform::EInOutError(path + " cannot be read", 0);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The user's folders the programs use, by the names the command line gives them.
using TFolder = std::string (*)();
TFolder Folder(const std::string& name) {
  if (name == "documents") return platform::DocumentsFolder;
  if (name == "temp") return platform::TempFolder;
  if (name == "runtime") return platform::RuntimeFolder;
  return nullptr;
}

// The exit code: 0 done, 1 failed, 2 the command line is wrong.
int Run(const std::vector<std::string>& a) {
  const std::string command = a.empty() ? "" : a[0];
  const std::size_t operands = a.empty() ? 0 : a.size() - 1;
  if (command == "clear-flag" && operands == 1) {
    platform::ProfileFile ini(a[1]);
    zarizehost::ClearDesignFlag(ini);
  } else if (command == "keys" && operands == 1) {
    std::cout << zarizehost::ZeravuKeys(platform::ProfileFile(a[1]));
  } else if (command == "table" && operands == 1) {
    std::cout << zarizehost::HandOffTable(ReadFile(a[1]));
  } else if (command == "merge-text" && operands == 2) {
    platform::ReplaceFileAtomically(a[2], zarizehost::MergeText(ReadFile(a[1])));
  } else if (command == "folder" && operands == 1 && Folder(a[1])) {
    std::cout << Folder(a[1])() << '\n';
  } else {
    std::cerr << kUsage;
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const platform::Exception& e) {
    std::cerr << "zarize-host: " << e.what() << '\n';
    return 1;
  }
}
