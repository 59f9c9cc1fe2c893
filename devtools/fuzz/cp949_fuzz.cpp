// Code page 949 conversion: never fails, always gives valid text, and round-trips what it can.
#include <cstdint>
#include <string>

#include "devtools/fuzz/fuzz_check.h"
#include "platform/cp949.h"
#include "platform/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const std::string cp949 = platform::ToCp949(bytes);
  FUZZ_CHECK(platform::IsValidCp949(cp949));
  const std::string utf8 = platform::FromCp949(bytes);
  FUZZ_CHECK(platform::IsValidUtf8(utf8));

  // Valid CP949 comes back byte for byte through UTF-8.
  if (platform::IsValidCp949(bytes)) FUZZ_CHECK(platform::ToCp949(utf8) == bytes);
  // Valid UTF-8 that CP949 holds whole (no character replaced) comes back too.
  if (platform::IsValidUtf8(bytes) && cp949.find('?') == std::string::npos) {
    FUZZ_CHECK(platform::FromCp949(cp949) == bytes);
  }

  // A cut at any character boundary stays valid.
  for (std::size_t pos = 0; pos < cp949.size(); pos += platform::Cp949CharLength(cp949, pos)) {
    FUZZ_CHECK(platform::IsValidCp949(cp949.substr(0, pos)));
  }
  return 0;
}
