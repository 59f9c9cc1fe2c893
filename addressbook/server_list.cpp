#include "addressbook/server_list.h"

#include "addressbook/address_file.h"
#include "addressbook/data_module.h"
#include "dbengine/connection.h"
#include "dbengine/errors.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/quoting.h"
#include "dbengine/scoped_transaction.h"
#include "dbengine/server_link.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/staged_file.h"

namespace addressbook {

namespace {

// The tick each person keeps for themselves; the records and groups are everyone's.
const char* const kTickColumn = "선택";

void MakeTables(dbengine::TADOConnection& conn, const ServerListOptions& options) {
  dbengine::TScopedTransaction transaction(conn);
  if (!options.Schema.empty()) {
    const std::string schema = dbengine::QuotedIdentifier(options.Schema);
    conn.Execute("CREATE SCHEMA IF NOT EXISTS " + schema);
    // The search path named it before it was there: set again, it finds it now.
    conn.Execute("SET search_path TO " + schema);
  }
  conn.Execute(kCreateGroupTable);
  conn.Execute(kCreateAddressTable);
  conn.MakeColumnPerUser("addr_rec", kTickColumn);
  if (!options.ShareWith.empty()) {
    conn.ShareTable("GROUP_ID", options.ShareWith);
    conn.ShareTable("addr_rec", options.ShareWith);
  }
  transaction.Commit();
}

}  // namespace

void CreateServerAddressList(Tdm& dm, const std::string& connInfo, const std::string& linkPath,
                             const ServerListOptions& options, bool replace) {
  if (platform::DirectoryExists(linkPath)) throw EAddressFileError(linkPath + " is a folder");
  if (platform::FileExists(linkPath) && !replace)
    throw EAddressFileError(linkPath + " exists; add --force to replace it");
  dbengine::TServerLink link{connInfo, "", options.Schema};
  try {
    dbengine::CheckServerLink(link, "The connection string");
  } catch (const dbengine::EDatabaseError& e) {
    throw EAddressFileError(e.what());
  }
  dm.adoTblMember.SetActive(false);
  dm.CloseDB();
  // The link file is written where nobody looks and takes its place once the list is made.
  platform::StagedFile staged(linkPath);
  platform::ReplaceFileAtomically(staged.Path(), dbengine::ServerLinkText(link));
  {
    dbengine::TADOConnection conn;
    conn.ConnectionString = dbengine::JetConnectionString(staged.Path());
    try {
      conn.Open();
    } catch (const dbengine::EDatabaseError& e) {
      throw EAddressFileError(e.what());
    }
    try {
      MakeTables(conn, options);
    } catch (const dbengine::EDatabaseError& e) {
      throw EAddressFileError(std::string("the list could not be made on the server (nothing was "
                                          "left there): ") +
                              e.what());
    }
  }
  // The first open makes the index of the list's order, as the list's owner.
  OpenAddressDatabase(dm, staged.Path());
  dm.adoTblMember.SetActive(false);
  dm.CloseDB();
  staged.Commit();
}

}  // namespace addressbook
