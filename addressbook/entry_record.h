#pragma once

#include <string>

namespace dbengine {
class TDataSet;
}

namespace addressbook {

// The six values of a record that the record entry dialog shows and edits, in the order of its
// boxes; what passes between the dialog and the main window.
struct EntryRecord {
  std::string Name;       // 이름
  std::string Honorific;  // 존칭
  std::string Postcode;   // 우편번호
  std::string Address;    // 주소
  std::string Detail;     // 상세주소
  std::string Company;    // 회사

  bool operator==(const EntryRecord&) const = default;
};

// The six values of the address table's current record.
EntryRecord ReadEntryRecord(dbengine::TDataSet& table);

// Sets the six columns of the table's current record, which is being edited or inserted, in the
// order above; every other column is left as it is.
void WriteEntryRecord(const EntryRecord& record, dbengine::TDataSet& table);

}  // namespace addressbook
