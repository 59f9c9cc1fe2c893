#include "addressbook/address_record.h"

#include <algorithm>

#include "addressbook/address_columns.h"

namespace addressbook {

AddressRecord::AddressRecord() : FValues(ImportableColumns().size()) {}

const std::string& AddressRecord::Value(std::string_view column) const {
  return FValues[ImportableColumnIndex(column)];
}

void AddressRecord::SetValue(std::string_view column, std::string value) {
  FValues[ImportableColumnIndex(column)] = std::move(value);
}

bool AddressRecord::Empty() const {
  return std::all_of(FValues.begin(), FValues.end(),
                     [](const std::string& value) { return value.empty(); });
}

}  // namespace addressbook
