#include "dbengine/field_def.h"

#include <cctype>
#include <cstdlib>

#include "platform/ascii_case.h"

namespace dbengine {
namespace {

std::string UpperTrimmed(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (!std::isspace(static_cast<unsigned char>(c))) out += c;
  }
  return platform::UpperCase(out);
}

// The n of "NAME(n)", or -1 when there is none.
int Length(const std::string& upper, std::size_t open) {
  if (open == std::string::npos || upper.back() != ')') return -1;
  const std::string digits = upper.substr(open + 1, upper.size() - open - 2);
  if (digits.empty() || digits.size() > 9) return -1;
  for (char c : digits)
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
  return std::atoi(digits.c_str());
}

}  // namespace

TFieldDef FieldDefFromDeclaredType(const std::string& declaredType, bool isRowIdKey) {
  const std::string upper = UpperTrimmed(declaredType);
  const std::size_t open = upper.find('(');
  const std::string name = upper.substr(0, open);

  if (name == "INTEGER" || name == "INT" || name == "LONG" || name == "SMALLINT" ||
      name == "BYTE" || name == "BIGINT" || name == "SHORT")
    return {isRowIdKey ? ftAutoInc : ftInteger, 0};
  if (name == "COUNTER" || name == "AUTOINCREMENT") return {ftAutoInc, 0};
  if (name == "DATETIME" || name == "DATE" || name == "TIME" || name == "TIMESTAMP")
    return {ftDateTime, 0};
  if (name == "YESNO" || name == "BIT" || name == "BOOLEAN" || name == "LOGICAL")
    return {ftBoolean, 0};
  if (name.rfind("TIMESTAMP", 0) == 0) return {ftDateTime, 0};
  if (name == "REAL" || name == "DOUBLE" || name == "DOUBLEPRECISION" || name == "FLOAT" ||
      name == "SINGLE" || name == "NUMERIC" || name == "DECIMAL" || name == "CURRENCY" ||
      name == "MONEY")
    return {ftFloat, 0};
  // Long text has no size to enforce.
  if (name == "LONGTEXT" || name == "MEMO" || name == "LONGCHAR") return {ftWideString, 0};
  if (name == "TEXT" || name == "VARCHAR" || name == "CHAR" || name == "NVARCHAR" ||
      name == "NCHAR" || name == "CHARACTER" || name == "CHARACTERVARYING" || name == "STRING") {
    const int length = Length(upper, open);
    return {ftWideString, length > 0 ? length : kDefaultTextSize};
  }
  return {ftUnknown, 0};
}

}  // namespace dbengine
