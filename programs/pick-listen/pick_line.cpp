#include "programs/pick-listen/pick_line.h"

#include "platform/cp949.h"

namespace picklisten {

namespace {

std::string OneLineText(std::string_view cp949) {
  std::string text = platform::FromCp949(cp949);
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

}  // namespace

std::string PickLine(std::string_view block, bool withHex) {
  std::string_view texts = block;
  if (texts.ends_with(std::string_view("\0\0", 2))) texts.remove_suffix(2);
  std::string_view postcode = texts;
  std::string_view address;
  if (std::size_t separator = texts.find("\r\n"); separator != std::string_view::npos) {
    postcode = texts.substr(0, separator);
    address = texts.substr(separator + 2);
  }
  std::string line = OneLineText(postcode) + '\t' + OneLineText(address);
  if (withHex) line += '\t' + Hex(block);
  return line;
}

}  // namespace picklisten
