#pragma once

#include <string>
#include <vector>

#include "dbengine/connection.h"
#include "dbengine/data_source.h"
#include "dbengine/table.h"
#include "platform/testing/scratch_dir.h"
#include "ui/dbaware/db_grid.h"

namespace ui::testing {

// A scratch address table for the grid and navigator tests: a database file made through the data
// layer, holding `rows` records with the seven columns the record grid shows, open and bound to
// Source. Record i (1-based, also its ID and GID) is ticked when i is odd; its 이름 is "이름 i".
class TMemberTable {
 public:
  explicit TMemberTable(int rows);
  TMemberTable(const TMemberTable&) = delete;
  TMemberTable& operator=(const TMemberTable&) = delete;

  // The record grid's columns: 선택 (a check box), 우편번호, 주소, 상세주소, 회사, 이름, 존칭.
  static std::vector<TwwColumn> GridColumns();

  // What the file holds for the record with this ID, past any record still pending in Table;
  // "<none>" when there is no such record.
  std::string Stored(int id, const std::string& column);
  int StoredCount();

  const std::string& Path() const { return FPath; }

  dbengine::TADOConnection Connection;
  dbengine::TADOTable Table;
  dbengine::TDataSource Source;

 private:
  std::string QueryOne(const std::string& jetSql);

  platform::testing::ScratchDir FDir;
  std::string FPath;
};

}  // namespace ui::testing
