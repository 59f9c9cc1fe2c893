#pragma once

#include <cstddef>
#include <exception>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/vcard.h"
#include "platform/errors.h"

namespace addressbook {

// A vCard file that cannot be read on, naming the card (1-based; 0 before the first) and the
// line (0 for the file as a whole) where the fault is.
class EVCardError : public platform::Exception {
 public:
  EVCardError(int card, int line, const std::string& message);
  int Card;
  int Line;
};

struct VCardOptions {
  // Longest line, and longest property once its folded lines are joined, that is kept. Binary
  // content (photos, sounds, keys) is read past whatever its length.
  std::size_t MaxLineBytes = 1024 * 1024;
  // Most bytes one card may span, binary content included.
  std::size_t MaxCardBytes = 16 * 1024 * 1024;
  // Most properties one card may hold.
  std::size_t MaxCardProperties = 10000;
  // How a value without a CHARSET parameter whose bytes are not UTF-8 is read: in the first of
  // these character sets that holds all its bytes, else in the first with each byte it cannot
  // read as U+FFFD. Phones and mail programs of Korean Windows wrote such values in code page
  // 949; Western ones in Windows-1252.
  std::vector<std::string> FallbackCharsets = {"CP949", "WINDOWS-1252"};
};

// Reads the cards of a vCard file (versions 2.1, 3.0 and 4.0) one at a time, keeping no more of
// the file than the card at hand. It takes what phones and mail programs write: folded lines
// (also where a fold splits a UTF-8 character), quoted-printable values with soft line breaks,
// CHARSET parameters, base64 content continued on unindented lines up to a blank line, a line
// ended by a backslash that goes on in the next, parameters in every form of the three versions,
// group prefixes, a UTF-8 byte-order mark, LF, CRLF or CR CR LF line ends. Anything outside
// BEGIN:VCARD ... END:VCARD is skipped; a card whose END:VCARD is missing ends where the next
// card begins or the file ends, with a warning.
class VCardReader {
 public:
  explicit VCardReader(std::istream& in, VCardOptions options = {});
  ~VCardReader();
  VCardReader(const VCardReader&) = delete;
  VCardReader& operator=(const VCardReader&) = delete;

  // The next card, or nothing at the end of the file. Throws EVCardError for a line or card
  // beyond the limits and for a file in UTF-16; once it has thrown, it throws the same again.
  std::optional<VCard> Next();

 private:
  class Impl;
  std::unique_ptr<Impl> FImpl;
  std::exception_ptr FError;
};

}  // namespace addressbook
