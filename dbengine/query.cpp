#include "dbengine/query.h"

#include "dbengine/jet_sql.h"

namespace dbengine {

std::string TADOQuery::SelectStatement() const {
  return TranslateJetSql(SQL.Text());
}

}  // namespace dbengine
