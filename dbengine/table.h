#pragma once

#include <memory>
#include <string>

#include "dbengine/dataset.h"
#include "dbengine/parameters.h"

namespace dbengine {

struct RowSelection;

// The rows of one table, ordered by IndexFieldNames (';'-separated; ties in insertion order).
// Opening with IndexFieldNames makes the index that gives that order when the file has none and
// can take one, so that a large table opens without sorting it; a file that cannot (read-only)
// opens all the same, sorted as it is read.
class TADOTable : public TDataSet {
 public:
  std::string TableName;
  std::string IndexFieldNames;

  // Orders the open table by other columns: "GID ASC", "이름 DESC, GID" ...; ties stay in
  // insertion order; empty returns to the order of IndexFieldNames. A pending row is posted (or
  // dropped) first, and the rows are read again in the new order, the current record kept.
  void SetSort(const std::string& sort);
  const std::string& Sort() const { return FSort; }

  // Shows only the rows the condition holds for: an SQL condition of the Jet dialect over the
  // table's columns ("이름 LIKE :find OR 회사 LIKE :find", "GID IS NULL"), with every value in it a
  // :name placeholder given in `parameters`, so text is always taken as it is. Empty shows every
  // row. On an open table a pending row is posted (or dropped) first and the rows are read
  // again, the current record kept when it is still shown (else the first is current); a closed
  // table takes it when it opens. A condition that fails leaves the rows and the filter as they
  // were.
  void SetFilter(const std::string& condition, TParameters parameters = {});
  const std::string& Filter() const { return FFilter; }

 protected:
  std::unique_ptr<RowSource> StaticRows(TADOConnection& connection, int pageSize) override;
  std::unique_ptr<RecordReader> RowStream(TADOConnection& connection) override;

 private:
  RowSelection Selection(TADOConnection& connection) const;

  std::string FSort;
  std::string FFilter;
  TParameters FFilterParameters;
};

}  // namespace dbengine
