#pragma once

#include "dbengine/dataset.h"
#include "dbengine/strings.h"

namespace dbengine {

// The rows of one statement of the Jet dialect; read-only.
class TADOQuery : public TDataSet {
 public:
  TStrings SQL;

 protected:
  std::string SelectStatement() const override;
};

}  // namespace dbengine
