#include "addressbook/data_module.h"

#include <exception>

#include "dbengine/connection_string.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/odbc_installer.h"
#include "dbengine/scoped_transaction.h"
#include "platform/folders.h"

namespace addressbook {

const char* const kCreateGroupTable =
    "CREATE TABLE GROUP_ID (GID Counter Primary Key,그룹명 TEXT(32))";
const char* const kCreateAddressTable =
    "CREATE TABLE addr_rec (ID Counter Primary Key,GID LONG,SDATE DATETIME,선택 YesNo,이름 "
    "TEXT(32),"
    "존칭 TEXT(20),우편번호 TEXT(7),주소 TEXT(255),상세주소 TEXT(100),전화 TEXT(20),팩스 TEXT(20),"
    "휴대폰 TEXT(20),회사 TEXT(30),부서 TEXT(30),직책 TEXT(30),회사전화 TEXT(30),회사팩스 TEXT(30),"
    "회사우편번호 TEXT(7),회사주소 TEXT(255),C상세주소 TEXT(100),발송명 TEXT(32),발송회사 TEXT(30),"
    "발송부서 TEXT(30),발송직책 TEXT(30),발송우편번호 TEXT(7),발송주소 TEXT(255),D상세주소 "
    "TEXT(100),"
    "발송 TEXT(10))";

namespace {

const char* const kAccessDriver = "Microsoft Access Driver (*.mdb)";

// The installer's attribute list: every item NUL-ended, one more NUL at the end.
std::string AttributeList(std::initializer_list<std::string> items) {
  std::string list;
  for (const std::string& item : items) {
    list += item;
    list += '\0';
  }
  list += '\0';
  return list;
}

}  // namespace

Tdm::Tdm() {
  conn.LoginPrompt = false;
  Qmember.Connection = &conn;
  Qmember.CursorType = dbengine::ctOpenForwardOnly;
  Qmember.LockType = dbengine::ltReadOnly;
  adoTblMember.Connection = &conn;
  adoTblMember.TableName = "addr_rec";
  adoTblMember.CursorType = dbengine::ctStatic;
  adoTblMember.IndexFieldNames = "GID";
}

bool Tdm::OpenDB(const std::string& path, const std::string& name) {
  try {
    if (!platform::FileExists(path)) return false;
    CloseDB();
    conn.ConnectionString = dbengine::JetConnectionString(path);
    conn.Open();
    if (conn.Connected()) {
      FDBPath = path;
      FDBName = name;
    }
    return conn.Connected();
  } catch (const std::exception&) {
    return false;
  }
}

bool Tdm::CloseDB() {
  try {
    if (conn.Connected()) conn.Close();
    if (conn.Connected()) return false;
    FDBPath.clear();
    FDBName.clear();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

MdbFileRequests Tdm::CreateMDBFile(const std::string& path) {
  return CreateMDBFile(path, path);
}

MdbFileRequests Tdm::CreateMDBFile(const std::string& path, const std::string& filePath) {
  const std::string dsn = "DSN=ZAZAVOROR";
  const std::string dbq = "DBQ=" + path;
  const std::string exclusive = "Exclusive=1";
  const std::string description = "Description=ZARIZE Data";

  MdbFileRequests requests;
  if (!dbengine::ConfigDataSource(dbengine::ODBC_ADD_SYS_DSN, kAccessDriver,
                                  AttributeList({dsn, dbq, exclusive, description})))
    requests.DataSourceFailure = dbengine::InstallerError();
  if (platform::FileExists(filePath)) return requests;

  // In quotes, as the driver reads the item; a quote in the path is doubled so that it cannot end
  // the value early.
  if (!dbengine::ConfigDataSource(
          dbengine::ODBC_ADD_SYS_DSN, kAccessDriver,
          AttributeList({dsn, dbq, exclusive, description,
                         "CREATE_DB=" + dbengine::QuotedConnectionStringValue(filePath)})))
    requests.FileFailure = dbengine::InstallerError();
  return requests;
}

bool Tdm::CreateTables(const std::string& path, const std::string& name) {
  bool created = false;
  try {
    if (OpenDB(path, name)) {
      // Both tables or neither: a failed statement rolls the pair back.
      dbengine::TScopedTransaction transaction(conn);
      conn.Execute(kCreateGroupTable, dbengine::cmdText);
      conn.Execute(kCreateAddressTable, dbengine::cmdText);
      transaction.Commit();
      created = true;
    }
  } catch (const std::exception&) {
    created = false;
  }
  CloseDB();
  return created;
}

}  // namespace addressbook
