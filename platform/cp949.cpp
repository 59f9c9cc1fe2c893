#include "platform/cp949.h"

#include <iconv.h>

#include <cerrno>

#include "platform/errors.h"

namespace platform {
namespace {

// One conversion descriptor per direction and thread: opening one loads the code-page tables,
// which costs far more than converting a settings value.
class Converter {
 public:
  Converter(const char* to, const char* from) : FHandle(iconv_open(to, from)) {
    if (FHandle == reinterpret_cast<iconv_t>(-1)) {
      throw Exception(std::string("Cannot convert text from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(FHandle); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`; at a byte sequence iconv rejects, `skip(rest)` says how many input bytes to
  // drop, and a '?' takes their place. Answers whether the input converted cleanly.
  template <typename Skip>
  bool Convert(std::string_view in, std::string& out, Skip skip) {
    iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    bool clean = true;
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[4096];
    while (srcLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      std::size_t rc = iconv(FHandle, &src, &srcLeft, &dst, &dstLeft);
      int err = errno;
      out.append(buffer, dst - buffer);
      if (rc != static_cast<std::size_t>(-1) || err == E2BIG) continue;
      clean = false;
      std::size_t drop = skip(std::string_view(src, srcLeft));
      out.push_back('?');
      src += drop;
      srcLeft -= drop;
      iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    }
    return clean;
  }

 private:
  iconv_t FHandle;
};

Converter& ToCp949Converter() {
  thread_local Converter converter("CP949", "UTF-8");
  return converter;
}

Converter& FromCp949Converter() {
  thread_local Converter converter("UTF-8", "CP949");
  return converter;
}

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

bool IsCp949Lead(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}

bool IsCp949Trail(unsigned char c) {
  return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0x81 && c <= 0xFE);
}

}  // namespace

std::size_t Cp949CharLength(std::string_view bytes, std::size_t pos) {
  if (pos + 1 < bytes.size() && IsCp949Lead(static_cast<unsigned char>(bytes[pos])) &&
      IsCp949Trail(static_cast<unsigned char>(bytes[pos + 1]))) {
    return 2;
  }
  return 1;
}

std::string ToCp949(std::string_view utf8) {
  std::string out;
  // A well-formed character iconv rejects has no CP949 form and becomes one '?'; a malformed
  // sequence costs one '?' per byte.
  ToCp949Converter().Convert(utf8, out, [](std::string_view rest) {
    std::size_t length = Utf8SequenceLength(rest);
    return length == 0 ? 1 : length;
  });
  return out;
}

std::string FromCp949(std::string_view cp949) {
  std::string out;
  FromCp949Converter().Convert(cp949, out,
                               [](std::string_view rest) { return Cp949CharLength(rest, 0); });
  return out;
}

bool IsValidCp949(std::string_view bytes) {
  std::string out;
  return FromCp949Converter().Convert(bytes, out,
                                      [](std::string_view rest) { return rest.size(); });
}

bool IsValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t length = Utf8SequenceLength(bytes);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

}  // namespace platform
