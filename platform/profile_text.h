#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The profile (INI) format as text, without files: a line "[name]" opens a section; a line
// "key=value" inside a section sets a key; lines starting with ';' or '#', blank lines and any
// other lines are kept but mean nothing. Names match without regard to ASCII case; blanks around
// names and values do not count. The first section and the first key of a name win.

// The value of `key` in `section`, trimmed, as the bytes stand in the file; nothing when the
// section or the key is missing.
std::optional<std::string_view> FindProfileValue(std::string_view content, std::string_view section,
                                                 std::string_view key);

// `content` with `key=value` set in `section`, every other byte kept: the key's line is replaced
// in place, or the key goes after the last key line of its section, or the section and the key
// are appended at the end. New lines end as the file's first line does (LF for a file without).
std::string SetProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value);

}  // namespace platform
