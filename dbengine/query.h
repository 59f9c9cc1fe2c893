#pragma once

#include <memory>

#include "dbengine/dataset.h"
#include "dbengine/parameters.h"
#include "dbengine/strings.h"

namespace dbengine {

// The rows of one statement of the Jet dialect; read-only. Values go into the statement as :name
// placeholders: Parameters follows SQL's text (each placeholder once, in order, null until set;
// changing the text starts them afresh), and their values are taken when the query opens.
class TADOQuery : public TDataSet {
 public:
  TADOQuery();

  TStrings SQL;
  TParameters Parameters;

 protected:
  std::unique_ptr<RowSource> StaticRows(TADOConnection& connection, int pageSize) override;
  std::unique_ptr<RecordReader> RowStream(TADOConnection& connection) override;
};

}  // namespace dbengine
