#pragma once

#include <string>
#include <vector>

#include "dbengine/dataset.h"

namespace dbengine {

// All rows of one table, ordered by IndexFieldNames (';'-separated; ties in insertion order).
class TADOTable : public TDataSet {
 public:
  std::string TableName;
  std::string IndexFieldNames;

  // Re-sorts the open table in memory: "GID ASC", "이름 DESC, GID" ...; empty returns to the
  // order of IndexFieldNames. A pending row is posted (or dropped) first.
  void SetSort(const std::string& sort);
  const std::string& Sort() const { return FSort; }

 protected:
  std::string SelectStatement() const override;
  std::string UpdateTableName() const override { return TableName; }
  bool HasRowId() const override { return true; }
  void OrderRecords() override;

 private:
  std::vector<SortKey> SortKeys(const std::string& sort);

  std::string FSort;
};

}  // namespace dbengine
