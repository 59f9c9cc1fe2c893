#include "platform/launch_token.h"

#include "platform/cp949.h"
#include "platform/utf8.h"

namespace platform {

bool IsLaunchToken(std::string_view arg) {
  constexpr std::string_view kToken = "\x28\xB0\xA9\x29";
  if (arg == kToken) return true;
  return IsValidUtf8(arg) && ToCp949(arg) == kToken;
}

}  // namespace platform
