#include "programs/zarize-db/command_line.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "addressbook/address_file.h"
#include "addressbook/address_import.h"
#include "addressbook/data_module.h"
#include "addressbook/server_list.h"
#include "platform/atomic_file.h"
#include "platform/today.h"

namespace zarizedb {

namespace {

using addressbook::AddressList;
using addressbook::EAddressFileError;
using addressbook::ECsvError;
using addressbook::ExportLayout;
using addressbook::ImportOptions;
using addressbook::RecordCounts;
using addressbook::TextEncoding;

// A command line that does not say what to do; answered with exit code 2.
class EUsageError : public platform::Exception {
 public:
  using Exception::Exception;
};

struct TCommandLine {
  bool Help = false;
  std::string Command;
  std::vector<std::string> Operands;
  bool Force = false;
  bool Ticked = false;
  bool Label = false;
  std::optional<std::string> Output;
  TextEncoding Encoding = TextEncoding::Detect;
  std::optional<std::string> Server;
  addressbook::ServerListOptions ServerList;
};

struct TCommandInfo {
  const char* Name;
  std::size_t Operands;
  const char* Usage;
};

constexpr TCommandInfo kCommands[] = {
    {"create", 1,
     "create PATH [--force], or create --server CONNINFO LINKFILE [--schema NAME] "
     "[--share-with ROLE] [--force]"},
    {"import", 2, "import PATH CSV [--encoding=utf-8|cp949]"},
    {"export", 1, "export PATH [--ticked] [--label] [--output FILE]"},
    {"count", 1, "count PATH"},
};

const TCommandInfo* FindCommand(const std::string& name) {
  for (const TCommandInfo& info : kCommands)
    if (name == info.Name) return &info;
  return nullptr;
}

TextEncoding EncodingNamed(const std::string& name) {
  if (name == "utf-8" || name == "utf8" || name == "UTF-8") return TextEncoding::Utf8;
  if (name == "cp949" || name == "CP949") return TextEncoding::Cp949;
  throw EUsageError("unknown encoding '" + name + "' (utf-8 or cp949)");
}

// An option, the command it belongs to, and what it sets; a value-taking one reads its value
// from "--name=value" or the next argument.
struct TOptionInfo {
  const char* Long;
  const char* Short;
  const char* Command;
  bool TakesValue;
  void (*Apply)(TCommandLine& line, const std::string& value);
};

constexpr TOptionInfo kOptions[] = {
    {"--force", nullptr, "create", false,
     [](TCommandLine& l, const std::string&) { l.Force = true; }},
    {"--server", nullptr, "create", true,
     [](TCommandLine& l, const std::string& v) { l.Server = v; }},
    {"--schema", nullptr, "create", true,
     [](TCommandLine& l, const std::string& v) { l.ServerList.Schema = v; }},
    {"--share-with", nullptr, "create", true,
     [](TCommandLine& l, const std::string& v) { l.ServerList.ShareWith = v; }},
    {"--encoding", nullptr, "import", true,
     [](TCommandLine& l, const std::string& v) { l.Encoding = EncodingNamed(v); }},
    {"--ticked", nullptr, "export", false,
     [](TCommandLine& l, const std::string&) { l.Ticked = true; }},
    {"--label", nullptr, "export", false,
     [](TCommandLine& l, const std::string&) { l.Label = true; }},
    {"--output", "-o", "export", true, [](TCommandLine& l, const std::string& v) { l.Output = v; }},
};

const TOptionInfo* FindOption(const std::string& name) {
  for (const TOptionInfo& option : kOptions)
    if (name == option.Long || (option.Short && name == option.Short)) return &option;
  return nullptr;
}

TCommandLine Parse(const std::vector<std::string>& args) {
  TCommandLine line;
  std::vector<std::pair<const TOptionInfo*, std::string>> options;
  bool operandsOnly = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (operandsOnly || arg.size() < 2 || arg[0] != '-') {
      if (line.Command.empty())
        line.Command = arg;
      else
        line.Operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      operandsOnly = true;
    } else if (arg == "--help" || arg == "-h") {
      line.Help = true;
    } else {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(0, equals);
      const TOptionInfo* option = FindOption(name);
      if (!option) throw EUsageError("unknown option '" + name + "'");
      std::string value;
      if (option->TakesValue && equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (option->TakesValue) {
        if (++i == args.size()) throw EUsageError(std::string(option->Long) + " needs a value");
        value = args[i];
      } else if (equals != std::string::npos) {
        throw EUsageError(std::string(option->Long) + " takes no value");
      }
      options.emplace_back(option, value);
    }
  }
  if (line.Help) return line;

  if (line.Command.empty()) throw EUsageError("no command given");
  const TCommandInfo* info = FindCommand(line.Command);
  if (!info) throw EUsageError("unknown command '" + line.Command + "'");
  if (line.Operands.size() != info->Operands)
    throw EUsageError(std::string("usage: ") + kProgramName + " " + info->Usage);
  for (const auto& [option, value] : options) {
    if (line.Command != option->Command)
      throw EUsageError(std::string(option->Long) + " is not an option of " + line.Command);
    option->Apply(line, value);
  }
  if (!line.Server && (!line.ServerList.Schema.empty() || !line.ServerList.ShareWith.empty()))
    throw EUsageError("--schema and --share-with go with --server");
  return line;
}

void RunImport(addressbook::Tdm& dm, const TCommandLine& line, std::ostream& out) {
  const std::string& path = line.Operands[0];
  const std::string& csvPath = line.Operands[1];
  // Read as it is imported, never whole: a file of any length, or a pipe, costs the same memory.
  std::ifstream csv(csvPath, std::ios::binary);
  if (!csv) throw EAddressFileError(csvPath + ": " + std::strerror(errno));
  OpenAddressDatabase(dm, path, AddressList::CheckOnly);
  if (dm.conn.ReadOnly()) throw EAddressFileError(path + " is read-only; nothing was imported");
  ImportOptions options;
  options.Encoding = line.Encoding;
  options.Today = platform::TodayText();
  int imported = 0;
  try {
    imported = ImportSpreadsheetCsv(dm, csv, options);
  } catch (const ECsvError& e) {
    throw EAddressFileError(csvPath + ": " + e.what() + "; nothing was imported");
  }
  out << "imported " << imported << (imported == 1 ? " record" : " records") << " into " << path
      << '\n';
}

void RunExport(addressbook::Tdm& dm, const TCommandLine& line, std::ostream& out) {
  OpenAddressDatabase(dm, line.Operands[0]);
  const ExportLayout layout = line.Label ? ExportLayout::Label : ExportLayout::Spreadsheet;
  if (line.Output) {
    platform::AtomicFileWriter file(*line.Output);
    ExportRecords(dm, layout, line.Ticked, file.Stream());
    file.Commit();
    return;
  }
  // Whole or not at all on standard output too: a failure half-way prints nothing.
  std::ostringstream text;
  ExportRecords(dm, layout, line.Ticked, text);
  out << text.str() << std::flush;
  if (!out) throw EAddressFileError("standard output cannot be written");
}

void Run(const TCommandLine& line, std::ostream& out) {
  addressbook::Tdm dm;
  const std::string& path = line.Operands[0];
  if (line.Command == "create" && line.Server) {
    CreateServerAddressList(dm, *line.Server, path, line.ServerList, line.Force);
    out << "created the list on the server and its link file " << path << '\n';
  } else if (line.Command == "create") {
    CreateAddressDatabase(dm, path, line.Force);
    out << "created " << path << '\n';
  } else if (line.Command == "import") {
    RunImport(dm, line, out);
  } else if (line.Command == "export") {
    RunExport(dm, line, out);
  } else if (line.Command == "count") {
    OpenAddressDatabase(dm, path);
    const RecordCounts count = CountRecords(dm);
    out << "records: " << count.Records << "\nticked: " << count.Ticked << '\n';
  }
}

}  // namespace

std::string HelpText() {
  return std::string("Usage: ") + kProgramName + R"( COMMAND ARGUMENTS...
Keeps Zeravu's address databases (.mdb) from the command line.

  create PATH [--force]
      Makes a new, empty address database at PATH the way Zeravu's new-database button makes
      it: the tables GROUP_ID and addr_rec, and the data source ZAZAVOROR registered in the
      ODBC data-source file ($ODBCINI, else ~/.odbc.ini). An existing file is left alone
      unless --force is given, which replaces it once the new one is whole: if any step
      fails, the old file is left as it was.

  create --server CONNINFO LINKFILE [--schema NAME] [--share-with ROLE] [--force]
      Makes a new, empty address list on the PostgreSQL server that CONNINFO names (a libpq
      connection string or URI, without a password: libpq finds it in ~/.pgpass or the
      service file) and writes LINKFILE, a small text file that Zeravu and this program open
      as they open an address database. Records and groups are shared; each person, connected
      as a role of their own, keeps their own ticks. --schema keeps the list in that schema
      (made when missing); --share-with lets a role (a person, or a group role of the office's
      people) read and change it. LINKFILE is left alone unless --force is given, and appears
      only once the list is made.

  In the commands below PATH may be a link file as well as an address database.

  import PATH CSV [--encoding=utf-8|cp949]
      Appends the records of a spreadsheet list to the database at PATH. The first line names
      the columns: any of those Zeravu's spreadsheet export writes (선택, 이름, 존칭, 우편번호,
      주소, ... 발송), in any order. Zeravu's own export (every line ending in a comma, LF) and
      RFC 4180 files from spreadsheet programs (quoted values, CRLF) both read. The text is
      UTF-8 (with or without a byte-order mark) or code page 949, found out from the first
      line that is not plain ASCII (the header, as a rule) unless --encoding names it. Each
      new record gets today's date and is ticked unless its 선택 says False or 0 (True,
      False, 1, 0 and empty are read; empty leaves it ticked).
      A bad line (more fields than the header line, a value longer than its column, text
      that is not in the encoding) stops the import with its line number: nothing is added.
      The header is checked first and the file is read as it is imported, so a long file, or
      a pipe (/dev/stdin), takes no more memory than a short one.

  export PATH [--ticked] [--label] [--output FILE]
      Writes the records as Zeravu's spreadsheet export writes them (code page 949, every
      line ending in a comma, the tick as True, False or empty), or with --label in the
      layout of the label hand-off file (우편번호,주소,상세주소,회사,이름,존칭). Every record
      is written; with --ticked only the ticked ones, as Zeravu's buttons do. The text goes
      to standard output, or with --output (-o) to FILE, which is replaced only once the
      export is whole.

  count PATH
      Prints the number of records and of ticked records.

  -h, --help
      Prints this text.

Exit status: 0 when the command did its work, 1 when it failed (the reason is on standard
error), 2 when the command line is wrong.
)";
}

int RunZarizeDb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const TCommandLine line = Parse(args);
    if (line.Help) {
      out << HelpText();
      return 0;
    }
    Run(line, out);
    return 0;
  } catch (const EUsageError& e) {
    err << kProgramName << ": " << e.what() << "\nTry '" << kProgramName << " --help'.\n";
    return 2;
  } catch (const std::exception& e) {
    err << kProgramName << ": " << e.what() << '\n';
    return 1;
  }
}

}  // namespace zarizedb
