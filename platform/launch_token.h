#pragma once

#include <string_view>

namespace platform {

// The launch token "(갑)" the host passes as the first argument: accepted as its four CP949
// bytes 28 B0 A9 29, or as UTF-8 text that converts to exactly those bytes.
bool IsLaunchToken(std::string_view arg);

}  // namespace platform
