#pragma once

// Internal to this layer: the rows of a table for a static cursor.

#include <memory>
#include <string>
#include <vector>

#include "dbengine/page_cache.h"
#include "dbengine/record_reader.h"
#include "dbengine/row_id_list.h"
#include "dbengine/row_source.h"

namespace dbengine {

// A table's rows as a list of rowids (RowIdList) and the last pages of their values; a page of
// values is read by its rowids in one statement. Memory stays bounded by the rowids (8 bytes a
// row) and the pages held, however large the table.
class TableSource final : public RowSource {
 public:
  // `table` unquoted; `selection` names it quoted, with the condition and order to show.
  TableSource(sqlite3* db, std::string table, RowSelection selection, int pageSize);

  const std::vector<ColumnInfo>& Columns() const override { return FPage.Columns(); }
  void Read() override;
  int Count() const override { return FIds.Count(); }
  const RowBuffer& Row(int position) override;
  std::optional<std::int64_t> RowId(int position) override;
  int Find(std::int64_t rowId) override;

  bool CanModify() const override { return true; }
  bool Settle() override;
  std::int64_t InsertRow(int position, const std::vector<CellValue>& values,
                         const std::vector<bool>& changed) override;
  void UpdateRow(std::int64_t rowId, const std::vector<CellValue>& values,
                 const std::vector<bool>& changed) override;
  void DeleteRow(std::int64_t rowId) override;

 private:
  void ReadPage(int page);
  std::vector<std::string> ColumnNames() const;

  sqlite3* FDb;
  std::string FTable;
  RowIdList FIds;
  PageCache FCache;
  // SELECT rowid, * ... WHERE rowid IN (one placeholder a row of a page).
  RecordReader FPage;
  // SELECT rowid, * ... WHERE rowid BETWEEN ?1 AND ?2: a page whose rowids come nearly in a row
  // (the order is the rowid's, or ties on its keys) is read as one range of the table instead.
  RecordReader FRange;
};

}  // namespace dbengine
