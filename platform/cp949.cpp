#include "platform/cp949.h"

#include "platform/iconv_converter.h"
#include "platform/utf8.h"

namespace platform {
namespace {

// One conversion descriptor per direction and thread.
IconvConverter& ToCp949Converter() {
  thread_local IconvConverter converter("CP949", "UTF-8");
  return converter;
}

IconvConverter& FromCp949Converter() {
  thread_local IconvConverter converter("UTF-8", "CP949");
  return converter;
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
  ToCp949Converter().Convert(utf8, out, "?", [](std::string_view rest) {
    const std::size_t length = Utf8SequenceLength(rest);
    return length == 0 ? std::size_t{1} : length;
  });
  return out;
}

std::string FromCp949(std::string_view cp949) {
  std::string out;
  FromCp949Converter().Convert(cp949, out, "?",
                               [](std::string_view rest) { return Cp949CharLength(rest, 0); });
  return out;
}

bool IsValidCp949(std::string_view bytes) {
  std::string out;
  return FromCp949Converter().Convert(bytes, out, "?",
                                      [](std::string_view rest) { return rest.size(); });
}

}  // namespace platform
