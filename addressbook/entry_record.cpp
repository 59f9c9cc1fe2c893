#include "addressbook/entry_record.h"

#include "dbengine/dataset.h"

namespace addressbook {

EntryRecord ReadEntryRecord(dbengine::TDataSet& table) {
  EntryRecord record;
  record.Name = table.FieldByName("이름").AsString();
  record.Honorific = table.FieldByName("존칭").AsString();
  record.Postcode = table.FieldByName("우편번호").AsString();
  record.Address = table.FieldByName("주소").AsString();
  record.Detail = table.FieldByName("상세주소").AsString();
  record.Company = table.FieldByName("회사").AsString();
  return record;
}

void WriteEntryRecord(const EntryRecord& record, dbengine::TDataSet& table) {
  table.FieldByName("이름").SetAsString(record.Name);
  table.FieldByName("존칭").SetAsString(record.Honorific);
  table.FieldByName("우편번호").SetAsString(record.Postcode);
  table.FieldByName("주소").SetAsString(record.Address);
  table.FieldByName("상세주소").SetAsString(record.Detail);
  table.FieldByName("회사").SetAsString(record.Company);
}

}  // namespace addressbook
