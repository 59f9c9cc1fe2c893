#pragma once

#include <string>

namespace crash {

// What the crash writer stores as item `n` and what the tests expect to find: long enough that
// one write takes a while, with Hangul so the code page conversion is in the way.
inline std::string ItemName(const std::string& prefix, int n) {
  return prefix + std::to_string(n);
}

inline std::string ItemValue(int n) {
  std::string value = "값" + std::to_string(n) + " 서울특별시 강남구 ";
  value.append(200, 'x');
  return value;
}

// The section the writer's keys go to, the one the program itself owns.
inline const char* const kSettingsSection = "ZERAVU";

}  // namespace crash
