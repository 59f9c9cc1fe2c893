#include "ui/dbaware/testing/member_table.h"

#include "dbengine/database_creation.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/query.h"

namespace ui::testing {

TMemberTable::TMemberTable(int rows) : FPath(FDir.Path("member.mdb")) {
  dbengine::CreateEmptyDatabase(FPath);
  Connection.ConnectionString = dbengine::JetConnectionString(FPath);
  Connection.Open();
  Connection.Execute(
      "CREATE TABLE addr_rec (ID Counter Primary Key, GID LONG, 선택 YesNo, 이름 TEXT(32), "
      "존칭 TEXT(20), 우편번호 TEXT(7), 주소 TEXT(255), 상세주소 TEXT(100), 회사 TEXT(30));");
  // One statement for any number of rows, so a hundred thousand take a moment, not minutes.
  Connection.Execute(
      "INSERT INTO addr_rec (GID, 선택, 이름, 존칭, 우편번호, 주소, 상세주소, 회사) "
      "WITH RECURSIVE n(i) AS (SELECT 1 WHERE " +
      std::to_string(rows) + " > 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(rows) +
      ") SELECT i, i % 2, '이름 ' || i, '님', printf('%03d-%03d', i / 1000 % 1000, i % 1000), "
      "'서울시 ' || i || '번지', '', '회사 ' || i FROM n;");
  Table.Connection = &Connection;
  Table.TableName = "addr_rec";
  Table.IndexFieldNames = "GID";
  Source.SetDataSet(&Table);
  Table.Open();
}

std::vector<TwwColumn> TMemberTable::GridColumns() {
  return {{"선택", 5, "선택"},          {"우편번호", 7, "우편번호"}, {"주소", 40, "주소"},
          {"상세주소", 20, "상세주소"}, {"회사", 20, "회사"},        {"이름", 10, "이름"},
          {"존칭", 20, "존칭"}};
}

std::string TMemberTable::QueryOne(const std::string& jetSql) {
  // A connection of its own sees only what has been stored in the file.
  dbengine::TADOConnection reader;
  reader.ConnectionString = dbengine::JetConnectionString(FPath);
  dbengine::TADOQuery query;
  query.Connection = &reader;
  query.SQL.Add(jetSql);
  query.Open();
  return query.IsEmpty() ? "<none>" : query.Fields(0).AsString();
}

std::string TMemberTable::Stored(int id, const std::string& column) {
  return QueryOne("SELECT " + column + " FROM addr_rec WHERE ID = " + std::to_string(id));
}

int TMemberTable::StoredCount() {
  return std::stoi(QueryOne("SELECT COUNT(*) FROM addr_rec"));
}

}  // namespace ui::testing
