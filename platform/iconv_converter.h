#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// One iconv conversion from a character set to another. Opening one loads the code-page tables,
// which costs far more than converting a value, so callers keep one per thread and reuse it.
class IconvConverter {
 public:
  // Throws platform::Exception when iconv cannot convert from `from` to `to`.
  IconvConverter(const char* to, const char* from);
  ~IconvConverter();
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // How many bytes of `rest`, which starts with a sequence iconv rejects, that sequence spans
  // (at least 1).
  using SkipLength = std::size_t (*)(std::string_view rest);

  // Converts `in` into `out`, replacing what `out` held. Each rejected sequence costs the bytes
  // `skip` says and becomes `replacement`, so a bad byte never costs the whole text. Answers
  // whether nothing had to be replaced.
  bool Convert(std::string_view in, std::string& out, std::string_view replacement,
               SkipLength skip);

 private:
  void* FHandle;  // iconv_t
};

}  // namespace platform
