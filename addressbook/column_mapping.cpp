#include "addressbook/column_mapping.h"

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>

#include "addressbook/address_columns.h"
#include "addressbook/utf8_text.h"
#include "dbengine/value_text.h"
#include "platform/ascii_case.h"
#include "platform/utf8.h"

namespace addressbook {
namespace {

// A header as the alias table spells it: ASCII lower case, without blanks, '_', '-' and '.'.
std::string HeaderKey(std::string_view header) {
  std::string key;
  const std::string lower = platform::LowerCase(header);
  for (std::size_t pos = 0; pos < lower.size();) {
    const std::size_t start = pos;
    const char32_t c = platform::NextCodePoint(lower, pos);
    if (IsBlank(c) || c == '_' || c == '-' || c == '.') continue;
    key.append(lower, start, pos - start);
  }
  return key;
}

// Headers other programs and people write, by the table column they mean.
const std::map<std::string, std::string_view>& Aliases() {
  static const std::map<std::string, std::string_view> kAliases = [] {
    const std::vector<std::pair<std::string_view, std::vector<std::string_view>>> table = {
        {"이름", {"성명", "성함", "고객명", "회원명", "name", "fullname", "displayname"}},
        {"존칭", {"호칭", "경칭"}},
        {"우편번호", {"우편", "postcode", "postalcode", "zip", "zipcode"}},
        {"주소",
         {"집주소", "자택주소", "도로명주소", "주소1", "address", "address1", "homeaddress",
          "streetaddress"}},
        {"상세주소", {"나머지주소", "주소2", "address2", "addressline2", "detailaddress"}},
        {"전화",
         {"전화번호", "집전화", "자택전화", "phone", "phonenumber", "telephone", "tel",
          "homephone"}},
        {"팩스", {"팩스번호", "fax", "faxnumber", "homefax"}},
        {"휴대폰",
         {"핸드폰", "휴대전화", "휴대폰번호", "핸드폰번호", "휴대전화번호", "모바일", "mobile",
          "mobilephone", "cell", "cellphone", "cellular"}},
        {"회사",
         {"회사명", "직장", "직장명", "소속", "company", "companyname", "organization",
          "organisation"}},
        {"부서", {"부서명", "department", "dept"}},
        {"직책", {"직위", "직급", "jobtitle", "position"}},
        {"회사전화",
         {"회사전화번호", "직장전화", "사무실전화", "businessphone", "workphone", "officephone"}},
        {"회사팩스", {"직장팩스", "businessfax", "workfax"}},
        {"회사우편번호", {"직장우편번호", "businesspostalcode", "businesszip", "workpostcode"}},
        {"회사주소", {"직장주소", "businessaddress", "workaddress", "officeaddress"}},
        {"C상세주소", {"회사상세주소", "직장상세주소"}},
    };
    std::map<std::string, std::string_view> aliases;
    for (const auto& [column, headers] : table) {
      for (std::string_view header : headers) aliases.emplace(HeaderKey(header), column);
    }
    return aliases;
  }();
  return kAliases;
}

std::string_view DefaultTarget(std::string_view header) {
  const std::string_view name = TrimBlanks(header);
  if (const ColumnInfo* column = FindImportableColumn(name)) return column->Name;
  const auto alias = Aliases().find(HeaderKey(name));
  return alias == Aliases().end() ? std::string_view() : alias->second;
}

// "True", "False" or empty for a tick a file may hold; nothing for any other text.
std::optional<std::string> TickText(std::string_view value) {
  const std::string lower = platform::LowerCase(TrimBlanks(value));
  if (lower.empty()) return std::string();
  if (lower == "true" || lower == "1") return std::string("True");
  if (lower == "false" || lower == "0") return std::string("False");
  return std::nullopt;
}

}  // namespace

ColumnMapping::ColumnMapping(std::vector<std::string> sourceColumns)
    : FSourceColumns(std::move(sourceColumns)), FTargets(FSourceColumns.size()) {
  for (std::size_t i = 0; i < FSourceColumns.size(); ++i) {
    const std::string_view target = DefaultTarget(FSourceColumns[i]);
    if (!target.empty() && std::find(FTargets.begin(), FTargets.end(), target) == FTargets.end())
      FTargets[i] = std::string(target);
  }
}

void ColumnMapping::SetTarget(std::size_t index, std::string_view target) {
  if (index >= FTargets.size())
    throw std::out_of_range("no source column " + std::to_string(index));
  if (!target.empty()) {
    if (!FindImportableColumn(target))
      throw EImportError("the address list has no column " + std::string(target) +
                         " that an import can fill");
    for (std::size_t other = 0; other < FTargets.size(); ++other) {
      if (other != index && FTargets[other] == target)
        throw EImportError(std::string(target) + " already takes " + FSourceColumns[other]);
    }
  }
  FTargets[index] = std::string(target);
}

AddressRecord ColumnMapping::Apply(const SourceRow& row, std::string_view rowNoun) const {
  const std::string where = std::string(rowNoun) + " " + std::to_string(row.Number) + ": ";
  AddressRecord record;
  for (std::size_t i = 0; i < FTargets.size(); ++i) {
    if (FTargets[i].empty() || i >= row.Values.size()) continue;
    const std::string& value = row.Values[i];
    const ColumnInfo& column = *FindImportableColumn(FTargets[i]);
    if (column.Kind == ColumnKind::YesNo) {
      std::optional<std::string> tick = TickText(value);
      if (!tick)
        throw EImportError(where + FTargets[i] + ": \"" + value +
                           "\" is not True, False, 1, 0 or empty");
      record.SetValue(column.Name, std::move(*tick));
      continue;
    }
    if (dbengine::CharacterCount(value) > static_cast<std::size_t>(column.Size))
      throw EImportError(where + FTargets[i] + ": the value is longer than the field's size of " +
                         std::to_string(column.Size) + " characters");
    record.SetValue(column.Name, value);
  }
  return record;
}

}  // namespace addressbook
