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

// A table's rows as a list of keys (RowIdList) and the last pages of their values; a page of
// values is read by its keys in one statement. Memory stays bounded by the keys (8 bytes a row)
// and the pages held, however large the table.
class TableSource final : public RowSource {
 public:
  // `selection` names the table as `table` does, with the condition and order to show.
  TableSource(Storage& storage, std::unique_ptr<TableAccess> table, RowSelection selection,
              int pageSize);

  const std::vector<ColumnInfo>& Columns() const override { return FPage.Columns(); }
  void Read() override;
  int Count() const override { return FIds.Count(); }
  const RowBuffer& Row(int position) override;
  std::optional<std::int64_t> RowId(int position) override;
  std::optional<std::int64_t> Version(int position) override;
  int Find(std::int64_t rowId) override;

  bool CanModify() const override { return true; }
  bool Settle() override;
  std::int64_t InsertRow(int position, const std::vector<CellValue>& values,
                         const std::vector<bool>& changed) override;
  void UpdateRow(std::int64_t rowId, std::optional<std::int64_t> version,
                 const std::vector<CellValue>& values, const std::vector<bool>& changed) override;
  void DeleteRow(std::int64_t rowId, std::optional<std::int64_t> version) override;

 private:
  void ReadPage(int page);
  std::vector<std::string> ColumnNames() const;

  std::unique_ptr<TableAccess> FTable;
  RowIdList FIds;
  PageCache FCache;
  // The rows of a page, by their keys.
  RecordReader FPage;
  // The rows whose keys lie between two: a page whose keys come nearly in a row (the order is the
  // key's, or ties on the order's columns) is read as one range of the table instead.
  RecordReader FRange;
};

}  // namespace dbengine
