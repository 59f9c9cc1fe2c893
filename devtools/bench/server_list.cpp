#include "devtools/bench/server_list.h"

#include <stdexcept>

#include "addressbook/data_module.h"
#include "dbengine/connection.h"
#include "dbengine/jet_connection_string.h"
#include "devtools/bench/address_records.h"

namespace bench {

namespace {

constexpr const char* kPerson = "kim";

// A value as COPY's text format takes it: NULL for an empty box, as the programs leave it.
std::string CopyValue(const std::string& text) {
  if (text.empty()) return "\\N";
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == '\t' || c == '\n' || c == '\r') escaped += '\\';
    escaped += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : c;
  }
  return escaped;
}

[[noreturn]] void Fail(PGconn* conn, const std::string& what) {
  throw std::runtime_error(what + ": " + PQerrorMessage(conn));
}

void Exec(PGconn* conn, const std::string& sql) {
  PGresult* result = PQexec(conn, sql.c_str());
  const ExecStatusType status = PQresultStatus(result);
  PQclear(result);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail(conn, sql);
}

void Copy(PGconn* conn, const std::string& sql, const std::string& rows) {
  PGresult* start = PQexec(conn, sql.c_str());
  const bool copying = PQresultStatus(start) == PGRES_COPY_IN;
  PQclear(start);
  if (!copying || PQputCopyData(conn, rows.data(), static_cast<int>(rows.size())) != 1 ||
      PQputCopyEnd(conn, nullptr) != 1)
    Fail(conn, sql);
  PGresult* end = PQgetResult(conn);
  const bool done = PQresultStatus(end) == PGRES_COMMAND_OK;
  PQclear(end);
  while (PGresult* more = PQgetResult(conn)) PQclear(more);
  if (!done) Fail(conn, sql);
}

}  // namespace

std::unique_ptr<TServerList> TServerList::Make(int records, int tickedPercent) {
  std::unique_ptr<TServerList> list(new TServerList);
  list->FServer =
      dbengine::testing::TestServer::Private(list->FScratch.PrivateFolder("server") + "/folder");
  if (!list->FServer) return nullptr;
  list->FSchema = std::make_unique<dbengine::testing::ServerSchema>(*list->FServer, list->FScratch);
  // The person first: every table made afterwards is theirs to use.
  list->FLink = list->FSchema->PersonLink(kPerson);
  {
    dbengine::TADOConnection admin;
    admin.ConnectionString = dbengine::JetConnectionString(list->FSchema->AdminLink());
    admin.Open();
    admin.BeginTrans();
    admin.Execute(addressbook::kCreateGroupTable);
    admin.Execute(addressbook::kCreateAddressTable);
    admin.MakeColumnPerUser("addr_rec", "선택");
    admin.CommitTrans();
  }
  list->Fill(records, tickedPercent);
  return list;
}

std::string TServerList::ConnInfo() const {
  return FServer->ConnInfo(FSchema->Role(kPerson)) + " options=-csearch_path=" + FSchema->Name();
}

void TServerList::Fill(int records, int tickedPercent) {
  PGconn* conn = PQconnectdb((FServer->ConnInfo(dbengine::testing::kTestAdministrator) +
                              " options=-csearch_path=" + FSchema->Name())
                                 .c_str());
  if (PQstatus(conn) != CONNECTION_OK) Fail(conn, "connect");
  std::string rows;
  std::string ticks;
  TAddressGenerator generator;
  for (int id = 1; id <= records; ++id) {
    const TAddressRecord r = generator.Next(tickedPercent);
    const std::string key = std::to_string(id);
    rows += key;
    for (const std::string* value : {&r.Date, &r.Name, &r.Honorific, &r.Postcode, &r.Address,
                                     &r.Detail, &r.Company, &r.Phone, &r.Mobile}) {
      rows += '\t';
      rows += CopyValue(*value);
    }
    rows += '\n';
    ticks += FSchema->Role(kPerson);
    ticks += '\t';
    ticks += key;
    ticks += r.Ticked ? "\t1\n" : "\t0\n";
  }
  Copy(conn,
       "COPY addr_rec_shared (\"ID\",\"SDATE\",이름,존칭,우편번호,주소,상세주소,회사,전화,휴대폰) "
       "FROM STDIN",
       rows);
  Copy(conn, "COPY addr_rec_per_user (role_name,\"ID\",선택) FROM STDIN", ticks);
  const std::string last = std::to_string(records);
  Exec(conn,
       "SELECT pg_catalog.setval(pg_catalog.pg_get_serial_sequence('addr_rec_shared', "
       "'ID'), " +
           last + ")");
  // As on a server in use: the order's index made by the list's first open, its statistics and
  // visibility kept by autovacuum.
  Exec(conn,
       "CREATE INDEX \"addr_rec_shared_order_GID\" ON addr_rec_shared "
       "(\"GID\" NULLS FIRST, \"ID\")");
  Exec(conn, "VACUUM ANALYZE addr_rec_shared");
  Exec(conn, "VACUUM ANALYZE addr_rec_per_user");
  PQfinish(conn);
}

TRawServer::TRawServer(const std::string& connInfo) : FConn(PQconnectdb(connInfo.c_str())) {
  if (PQstatus(FConn) != CONNECTION_OK) Fail(FConn, "connect");
}

TRawServer::~TRawServer() {
  PQfinish(FConn);
}

std::size_t TRawServer::Walk(const std::string& sql) {
  PGresult* result = PQexec(FConn, sql.c_str());
  if (PQresultStatus(result) != PGRES_TUPLES_OK) {
    PQclear(result);
    Fail(FConn, sql);
  }
  const int rows = PQntuples(result);
  const int columns = PQnfields(result);
  std::size_t sum = static_cast<std::size_t>(rows);
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column)
      if (!PQgetisnull(result, row, column))
        sum += static_cast<std::size_t>(PQgetlength(result, row, column));
  PQclear(result);
  return sum;
}

}  // namespace bench
