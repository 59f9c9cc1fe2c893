#pragma once

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "addressbook/address_file.h"
#include "addressbook/csv_writers.h"
#include "addressbook/data_module.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"

namespace addressbook::testing {

// The 25 columns Zeravu's spreadsheet export writes for its own table, as its header spells them.
inline const char* const kSheetHeader =
    "선택,이름,존칭,우편번호,주소,상세주소,전화,팩스,휴대폰,회사,부서,직책,회사전화,회사팩스,"
    "회사우편번호,회사주소,C상세주소,발송명,발송회사,발송부서,발송직책,발송우편번호,발송주소,"
    "D상세주소,발송,\n";

// A scratch folder (with its own data-source file, since creating registers one) and a data
// module.
class AddressDbFixture {
 public:
  using Values = std::vector<std::pair<std::string, std::string>>;

  // A new database made as `create` makes it, open on `dm` with its table open.
  std::string NewDatabase(const std::string& name) {
    const std::string path = dir.Path(name);
    CreateAddressDatabase(dm, path, false);
    OpenAddressDatabase(dm, path);
    return path;
  }
  // A record of these column values; the tick stays NULL unless given.
  void AddRecord(const Values& values, std::optional<bool> tick = true) {
    dbengine::TDataSet& table = dm.adoTblMember;
    table.Insert();
    if (tick) table.FieldByName("선택").SetAsBoolean(*tick);
    for (const auto& [column, value] : values) table.FieldByName(column).SetAsString(value);
    table.Post();
  }
  // The open table in the spreadsheet layout (code page 949).
  std::string Sheet(SpreadsheetRows rows = SpreadsheetRows::All) {
    std::ostringstream out;
    WriteSpreadsheetCsv(dm.adoTblMember, out, rows);
    return out.str();
  }
  // Closes and opens the database again, so what follows reads what the file holds.
  void Reopen() {
    const std::string path = dm.DBPath();
    dm.adoTblMember.Close();
    dm.CloseDB();
    OpenAddressDatabase(dm, path);
  }

  platform::testing::ScratchDir dir;
  platform::testing::ScopedEnv odbcIni{"ODBCINI", dir.Path("odbc.ini")};
  Tdm dm;
};

}  // namespace addressbook::testing
