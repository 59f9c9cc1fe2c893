#include "addressbook/address_columns.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace addressbook {
namespace {

using enum ColumnKind;

constexpr std::array<ColumnInfo, 28> kColumns{{
    {"ID", AutoNumber, 0},     {"GID", Integer, 0},      {"SDATE", DateTime, 0},
    {"선택", YesNo, 0},        {"이름", Text, 32},       {"존칭", Text, 20},
    {"우편번호", Text, 7},     {"주소", Text, 255},      {"상세주소", Text, 100},
    {"전화", Text, 20},        {"팩스", Text, 20},       {"휴대폰", Text, 20},
    {"회사", Text, 30},        {"부서", Text, 30},       {"직책", Text, 30},
    {"회사전화", Text, 30},    {"회사팩스", Text, 30},   {"회사우편번호", Text, 7},
    {"회사주소", Text, 255},   {"C상세주소", Text, 100}, {"발송명", Text, 32},
    {"발송회사", Text, 30},    {"발송부서", Text, 30},   {"발송직책", Text, 30},
    {"발송우편번호", Text, 7}, {"발송주소", Text, 255},  {"D상세주소", Text, 100},
    {"발송", Text, 10},
}};

// ID, GID and SDATE lead the table; everything from the tick on is importable.
constexpr std::size_t kFirstImportable = 3;

}  // namespace

std::span<const ColumnInfo> AddressColumns() {
  return kColumns;
}

std::span<const ColumnInfo> ImportableColumns() {
  return AddressColumns().subspan(kFirstImportable);
}

const ColumnInfo* FindImportableColumn(std::string_view name) {
  const auto columns = ImportableColumns();
  const auto found = std::find_if(columns.begin(), columns.end(),
                                  [&](const ColumnInfo& c) { return c.Name == name; });
  return found == columns.end() ? nullptr : &*found;
}

std::size_t ImportableColumnIndex(std::string_view name) {
  const ColumnInfo* column = FindImportableColumn(name);
  if (!column) throw std::logic_error("no importable column " + std::string(name));
  return static_cast<std::size_t>(column - ImportableColumns().data());
}

}  // namespace addressbook
