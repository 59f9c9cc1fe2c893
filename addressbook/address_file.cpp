#include "addressbook/address_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "addressbook/csv_writers.h"
#include "addressbook/data_module.h"
#include "addressbook/new_database.h"
#include "dbengine/connection.h"
#include "dbengine/errors.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/query.h"
#include "dbengine/server_link.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace addressbook {

namespace {

// Why an existing path cannot be read, in the system's words; empty when it can.
std::string ReadFailure(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  ::close(fd);
  return {};
}

// Which driver requests failed and why, for the user.
std::string FailedRequests(const MdbFileRequests& requests) {
  std::string text;
  if (requests.DataSourceFailure)
    text = "the data source could not be registered (" + *requests.DataSourceFailure + ")";
  if (requests.FileFailure)
    text += (text.empty() ? "" : "; ") + std::string("the file could not be made (") +
            *requests.FileFailure + ")";
  return text;
}

}  // namespace

void CreateAddressDatabase(Tdm& dm, const std::string& path, bool replace) {
  if (platform::DirectoryExists(path)) throw EAddressFileError(path + " is a folder");
  const bool exists = platform::FileExists(path);
  if (exists && !replace) throw EAddressFileError(path + " exists; add --force to replace it");
  // The data source records the file's full path, as Zeravu's dialogs give it, so it names the
  // file from any folder.
  const std::string full = std::filesystem::absolute(path).lexically_normal().string();
  // What stays when a step fails: the old file, untouched, or nothing at all.
  const std::string kept = exists ? " (" + path + " is as it was)" : "";
  dm.adoTblMember.SetActive(false);
  dm.CloseDB();
  NewDatabaseResult made;
  try {
    made = BuildNewDatabase(dm, full);
  } catch (const platform::Exception& e) {
    throw EAddressFileError(path + " cannot be replaced: " + e.what() + kept);
  }
  switch (made.Step) {
    case NewDatabaseStep::Created:
      return;
    case NewDatabaseStep::DriverFailed:
      if (!exists) platform::DeleteFile(full);
      throw EAddressFileError(
          path + ": the database could not be created: " + FailedRequests(made.Requests) + kept);
    case NewDatabaseStep::NoFile:
      throw EAddressFileError(path + ": the database file was not made" + kept);
    case NewDatabaseStep::TablesFailed:
      throw EAddressFileError(path + ": the tables could not be created" + kept);
  }
}

void OpenAddressDatabase(Tdm& dm, const std::string& path, AddressList list) {
  if (platform::DirectoryExists(path)) throw EAddressFileError(path + " is a folder");
  if (!platform::FileExists(path)) throw EAddressFileError(path + ": no such file");
  if (std::string why = ReadFailure(path); !why.empty()) throw EAddressFileError(path + ": " + why);
  if (!dm.OpenDB(path, platform::FileNamePart(path))) {
    // The data module answers only yes or no; a link file's reason (the server, the password
    // refused) is worth the user's knowing.
    if (dbengine::IsServerLink(path)) {
      dbengine::TADOConnection probe;
      probe.ConnectionString = dbengine::JetConnectionString(path);
      try {
        probe.Open();
      } catch (const dbengine::EDatabaseError& e) {
        throw EAddressFileError(path + ": " + e.what());
      }
    }
    throw EAddressFileError(path +
                            " is not an address database (it cannot be opened as a database)");
  }
  try {
    if (list == AddressList::Open) {
      dm.adoTblMember.Open();
    } else {
      // Only whether the table is there: opening the list would read every row.
      dbengine::TADOQuery check;
      check.Connection = &dm.conn;
      check.CursorType = dbengine::ctOpenForwardOnly;
      check.SQL.Add("SELECT * FROM addr_rec WHERE 1=0");
      check.Open();
    }
  } catch (const platform::Exception& e) {
    dm.CloseDB();
    throw EAddressFileError(path + " is not an address database (" + e.what() + ")");
  }
}

RecordCounts CountRecords(Tdm& dm) {
  dbengine::TDataSet& table = dm.adoTblMember;
  RecordCounts count;
  count.Records = table.RecordCount();
  if (dbengine::TField* tick = table.FindField("선택")) {
    for (table.First(); !table.Eof(); table.Next())
      if (tick->AsBoolean()) ++count.Ticked;
  }
  return count;
}

void ExportRecords(Tdm& dm, ExportLayout layout, bool tickedOnly, std::ostream& out) {
  if (layout == ExportLayout::Spreadsheet) {
    WriteSpreadsheetCsv(dm.adoTblMember, out,
                        tickedOnly ? SpreadsheetRows::Ticked : SpreadsheetRows::All);
    return;
  }
  dbengine::TADOQuery& query = dm.Qmember;
  query.Close();
  query.SQL.Clear();
  query.SQL.Add(tickedOnly ? kLabelQuery : kAllLabelRowsQuery);
  query.Open();
  WriteLabelRows(query, out);
  query.Close();
}

}  // namespace addressbook
