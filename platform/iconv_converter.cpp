#include "platform/iconv_converter.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "platform/errors.h"

namespace platform {

IconvConverter::IconvConverter(const char* to, const char* from) : FHandle(iconv_open(to, from)) {
  if (FHandle == reinterpret_cast<iconv_t>(-1)) {
    throw Exception(std::string("Cannot convert text from ") + from + " to " + to);
  }
}

IconvConverter::~IconvConverter() {
  iconv_close(static_cast<iconv_t>(FHandle));
}

bool IconvConverter::Convert(std::string_view in, std::string& out, std::string_view replacement,
                             SkipLength skip) {
  const iconv_t handle = static_cast<iconv_t>(FHandle);
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  out.clear();
  bool clean = true;
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char buffer[4096];
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t rc = iconv(handle, &src, &srcLeft, &dst, &dstLeft);
    const int err = errno;
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (rc != static_cast<std::size_t>(-1) || err == E2BIG) continue;
    clean = false;
    const std::size_t drop =
        std::clamp<std::size_t>(skip(std::string_view(src, srcLeft)), 1, srcLeft);
    out.append(replacement);
    src += drop;
    srcLeft -= drop;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
  return clean;
}

}  // namespace platform
