#include "dbengine/query.h"

#include "dbengine/connection.h"
#include "dbengine/query_source.h"
#include "dbengine/record_reader.h"
#include "dbengine/storage.h"

namespace dbengine {

TADOQuery::TADOQuery() {
  SQL.OnChange = [this] { Parameters.ParseSQL(SQL.Text()); };
}

std::unique_ptr<RowSource> TADOQuery::StaticRows(TADOConnection& connection, int pageSize) {
  Storage& storage = connection.Data();
  return std::make_unique<QuerySource>(storage, storage.Translate(SQL.Text()), Parameters,
                                       pageSize);
}

std::unique_ptr<RecordReader> TADOQuery::RowStream(TADOConnection& connection) {
  Storage& storage = connection.Data();
  auto reader = std::make_unique<RecordReader>(
      storage.Prepare(storage.Translate(SQL.Text()), TReading::AcrossCalls), TLeading::None);
  reader->Query().Bind(Parameters);
  return reader;
}

}  // namespace dbengine
