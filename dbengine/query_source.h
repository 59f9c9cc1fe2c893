#pragma once

// Internal to this layer: the rows of a query for a static cursor.

#include <string>
#include <vector>

#include "dbengine/page_cache.h"
#include "dbengine/parameters.h"
#include "dbengine/record_reader.h"
#include "dbengine/row_source.h"

namespace dbengine {

// A statement's rows, which have no rowid to be found by: reading them runs the statement to its
// end once, counting the rows and keeping the pages the cache holds (every row of a result of up
// to kCachedPages pages). A page no longer held is read by running the statement again and
// stepping over the rows before it, keeping the pages that follow as far as the cache holds.
class QuerySource final : public RowSource {
 public:
  static constexpr int kCachedPages = 64;

  QuerySource(sqlite3* db, const std::string& sql, const TParameters& parameters, int pageSize);

  const std::vector<ColumnInfo>& Columns() const override { return FReader.Columns(); }
  void Read() override;
  int Count() const override { return FCount; }
  const RowBuffer& Row(int position) override;

 private:
  // Steps from the reader's position, filling pages from `page` on while the cache has room;
  // answers the rows stepped over or read.
  int ReadFrom(int page, int pages);

  RecordReader FReader;
  PageCache FCache;
  int FCount = 0;
};

}  // namespace dbengine
