// The settings-file text: any file reads without harm, and a write sets its key and keeps every
// other line. Input: section NUL key NUL value NUL file content.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devtools/fuzz/fuzz_check.h"
#include "platform/profile_text.h"

namespace {

std::vector<std::string_view> SplitAtNul(std::string_view input, std::size_t parts) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < parts) {
    const std::size_t nul = input.find('\0');
    if (nul == std::string_view::npos) break;
    fields.push_back(input.substr(0, nul));
    input.remove_prefix(nul + 1);
  }
  fields.push_back(input);
  return fields;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Text the format can hold as a name or value and read back the same: one line, no blanks at its
// ends (reading trims them).
bool FitsOneLine(std::string_view text) {
  return text.find_first_of("\r\n") == std::string_view::npos &&
         (text.empty() || (!IsBlank(text.front()) && !IsBlank(text.back())));
}

bool IsSectionName(std::string_view name) {
  return !name.empty() && FitsOneLine(name) && name.find(']') == std::string_view::npos;
}

bool IsKeyName(std::string_view name) {
  return !name.empty() && FitsOneLine(name) && name.find('=') == std::string_view::npos &&
         name.front() != ';' && name.front() != '#' && name.front() != '[';
}

// Every byte but those of the key's own line is kept: the bytes that went and the bytes that
// came lie inside one line when the key was there; else nothing went, and what came is the entry
// with its line end, maybe its section's header, maybe a line end for a last line without one.
bool KeepsOtherBytes(std::string_view before, std::string_view after, bool replaced,
                     std::size_t entrySize, std::size_t headerSize) {
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::string_view gone = before.substr(prefix, before.size() - prefix - suffix);
  const std::string_view came = after.substr(prefix, after.size() - prefix - suffix);
  if (replaced) {
    return gone.find('\n') == std::string_view::npos && came.find('\n') == std::string_view::npos;
  }
  if (!gone.empty()) return false;
  for (std::size_t lineEnd : {1, 2}) {
    for (std::size_t header : {std::size_t{0}, headerSize + lineEnd}) {
      for (std::size_t finalEnd : {std::size_t{0}, lineEnd}) {
        if (came.size() == entrySize + lineEnd + header + finalEnd) return true;
      }
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> parts = SplitAtNul(input, 4);
  if (parts.size() < 4) {
    // Reading any text at all must be harmless.
    platform::FindProfileValue(input, "ZERAVU", "DBOPENDIR");
    return 0;
  }
  const std::string_view section = parts[0], key = parts[1], value = parts[2], content = parts[3];
  const bool replaced = platform::FindProfileValue(content, section, key).has_value();
  if (!IsSectionName(section) || !IsKeyName(key) || !FitsOneLine(value)) return 0;

  const std::string written = platform::SetProfileValue(content, section, key, value);
  const std::optional<std::string_view> readBack =
      platform::FindProfileValue(written, section, key);
  FUZZ_CHECK(readBack.has_value() && *readBack == value);
  // "key=value" and "[section]"
  FUZZ_CHECK(KeepsOtherBytes(content, written, replaced, key.size() + 1 + value.size(),
                             section.size() + 2));
  // Writing the same again changes nothing.
  FUZZ_CHECK(platform::SetProfileValue(written, section, key, value) == written);
  return 0;
}
