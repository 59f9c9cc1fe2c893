#include "dbengine/query.h"

#include "dbengine/connection.h"
#include "dbengine/jet_sql.h"
#include "dbengine/query_source.h"
#include "dbengine/record_reader.h"

namespace dbengine {

TADOQuery::TADOQuery() {
  SQL.OnChange = [this] { Parameters.ParseSQL(SQL.Text()); };
}

std::unique_ptr<RowSource> TADOQuery::StaticRows(TADOConnection& connection, int pageSize) {
  return std::make_unique<QuerySource>(connection.Handle(), TranslateJetSql(SQL.Text()), Parameters,
                                       pageSize);
}

std::unique_ptr<RecordReader> TADOQuery::RowStream(TADOConnection& connection) {
  auto reader =
      std::make_unique<RecordReader>(connection.Handle(), TranslateJetSql(SQL.Text()), false);
  reader->Query().Bind(Parameters);
  return reader;
}

}  // namespace dbengine
