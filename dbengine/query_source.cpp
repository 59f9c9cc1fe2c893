#include "dbengine/query_source.h"

namespace dbengine {

QuerySource::QuerySource(sqlite3* db, const std::string& sql, const TParameters& parameters,
                         int pageSize)
    : FReader(db, sql, false), FCache(pageSize, kCachedPages) {
  FReader.Query().Bind(parameters);
}

void QuerySource::Read() {
  FCache.Clear();
  ResetAtEnd done(FReader.Query());
  FCount = ReadFrom(0, kCachedPages);
  while (FReader.Skip()) ++FCount;
}

int QuerySource::ReadFrom(int page, int pages) {
  const int size = FCache.PageSize();
  int rows = 0;
  Record record;
  for (int held = 0; held < pages; ++held, ++page) {
    std::vector<RowBuffer> values;
    while (static_cast<int>(values.size()) < size && FReader.Read(record))
      values.push_back(std::move(record.Values));
    rows += static_cast<int>(values.size());
    const bool last = static_cast<int>(values.size()) < size;
    if (!values.empty()) FCache.Put(page, std::move(values));
    if (last) break;
  }
  return rows;
}

const RowBuffer& QuerySource::Row(int position) {
  if (const RowBuffer* row = FCache.Find(position)) return *row;
  static const RowBuffer kGone;
  const int page = FCache.PageOf(position);
  {
    ResetAtEnd done(FReader.Query());
    int skipped = 0;
    while (skipped < page * FCache.PageSize() && FReader.Skip()) ++skipped;
    ReadFrom(page, kCachedPages);
  }
  // The statement now gives fewer rows than when it was counted: the file changed meanwhile.
  const RowBuffer* row = FCache.Find(position);
  return row != nullptr ? *row : kGone;
}

}  // namespace dbengine
