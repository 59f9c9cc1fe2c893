#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace addressbook {

// One record on its way into the address table: a text value for each importable column (the
// tick as the text that asks for it), empty where nothing was given. Values are UTF-8.
class AddressRecord {
 public:
  AddressRecord();

  // By column name; naming a column that cannot be imported is a programming error
  // (std::logic_error).
  const std::string& Value(std::string_view column) const;
  void SetValue(std::string_view column, std::string value);

  // No column holds anything.
  bool Empty() const;

  bool operator==(const AddressRecord&) const = default;

 private:
  std::vector<std::string> FValues;
};

}  // namespace addressbook
