#include "addressbook/vcard_reader.h"

#include <algorithm>
#include <cstdint>

#include "addressbook/charset.h"
#include "addressbook/line_source.h"
#include "addressbook/text_encoding.h"
#include "addressbook/utf8_text.h"
#include "platform/ascii_case.h"
#include "platform/cp949.h"
#include "platform/utf8.h"

namespace addressbook {
namespace {

// A card that warns about more than this is broken throughout; the rest would only bury the
// first warnings.
constexpr std::size_t kMaxWarningsPerCard = 50;

enum class ContentEncoding { Plain, QuotedPrintable, Binary };

struct PropertyHead {
  std::string Group;
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Params;
};

bool IsWhitespaceStart(std::string_view line) {
  return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool IsCardBoundary(std::string_view line, std::string_view keyword) {
  return platform::UpperCase(TrimBlanks(line)) == std::string(keyword) + ":VCARD";
}

bool IsAnyCardBoundary(std::string_view line) {
  return IsCardBoundary(line, "BEGIN") || IsCardBoundary(line, "END");
}

// The first occurrence of `separator` outside double quotes, or npos.
std::size_t FindUnquoted(std::string_view text, char separator, std::size_t from = 0) {
  bool quoted = false;
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == '"') {
      quoted = !quoted;
    } else if (text[i] == separator && !quoted) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::vector<std::string_view> SplitUnquoted(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = FindUnquoted(text, separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::string WithoutQuotes(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != '"') out.push_back(c);
  }
  return out;
}

bool IsEncodingName(std::string_view upper) {
  return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT" ||
         upper == "7BIT";
}

// "item1.ADR;TYPE=HOME,pref;CHARSET=UTF-8" and the 2.1 forms "TEL;WORK;VOICE".
PropertyHead ParseHead(std::string_view text) {
  PropertyHead head;
  const std::vector<std::string_view> pieces = SplitUnquoted(text, ';');
  std::string_view name = TrimBlanks(pieces.front());
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
    head.Group = std::string(name.substr(0, dot));
    name.remove_prefix(dot + 1);
  }
  head.Name = platform::UpperCase(name);
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const std::string_view piece = TrimBlanks(pieces[i]);
    if (piece.empty()) continue;
    const std::size_t equals = FindUnquoted(piece, '=');
    if (equals == std::string_view::npos) {
      const std::string upper = platform::UpperCase(WithoutQuotes(piece));
      if (IsEncodingName(upper)) {
        head.Params.emplace_back("ENCODING", upper);
      } else {
        head.Params.emplace_back("TYPE", platform::LowerCase(upper));
      }
      continue;
    }
    const std::string paramName = platform::UpperCase(TrimBlanks(piece.substr(0, equals)));
    const std::string_view values = piece.substr(equals + 1);
    if (paramName == "TYPE") {
      // Writers of 4.0 quote the whole list: TYPE="cell,voice" is two types.
      const std::string unquoted = WithoutQuotes(values);
      for (std::string_view type : SplitUnquoted(unquoted, ','))
        head.Params.emplace_back(paramName, platform::LowerCase(TrimBlanks(type)));
    } else {
      for (std::string_view value : SplitUnquoted(values, ','))
        head.Params.emplace_back(paramName, WithoutQuotes(TrimBlanks(value)));
    }
  }
  return head;
}

std::string ParamOf(const PropertyHead& head, std::string_view name) {
  for (const auto& [paramName, value] : head.Params) {
    if (paramName == name) return value;
  }
  return {};
}

ContentEncoding ContentOf(const PropertyHead& head) {
  const std::string encoding = platform::UpperCase(ParamOf(head, "ENCODING"));
  if (encoding == "QUOTED-PRINTABLE") return ContentEncoding::QuotedPrintable;
  if (encoding == "BASE64" || encoding == "B") return ContentEncoding::Binary;
  return ContentEncoding::Plain;
}

// Properties that hold pictures, sounds or keys: never text for an address list, and in 4.0 a
// whole picture may sit in one data: URI.
bool IsBinaryProperty(std::string_view name) {
  return name == "PHOTO" || name == "LOGO" || name == "SOUND" || name == "KEY";
}

bool IsBase64Line(std::string_view line) {
  if (line.empty()) return false;
  return std::all_of(line.begin(), line.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '=' || c == ' ' || c == '\t';
  });
}

bool EndsWithOddBackslashes(std::string_view text) {
  std::size_t count = 0;
  while (count < text.size() && text[text.size() - 1 - count] == '\\') ++count;
  return count % 2 == 1;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Soft line breaks are already gone; an '=' not followed by two hex digits stays as it is.
std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size()) {
      const int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

namespace {

std::string Where(int card, int line) {
  std::string where;
  if (card > 0) where = "card " + std::to_string(card);
  if (line > 0) where += (where.empty() ? "" : ", ") + std::string("line ") + std::to_string(line);
  return where.empty() ? where : where + ": ";
}

}  // namespace

EVCardError::EVCardError(int card, int line, const std::string& message)
    : Exception(Where(card, line) + message), Card(card), Line(line) {}

class VCardReader::Impl {
 public:
  Impl(std::istream& in, VCardOptions options) : FLines(in), FOptions(std::move(options)) {}

  std::optional<VCard> Next() {
    if (FBeginLine > 0) return ReadCard(std::exchange(FBeginLine, 0));
    while (ReadLine()) {
      if (IsCardBoundary(FLine, "BEGIN")) return ReadCard(FLines.LineNumber());
    }
    return std::nullopt;
  }

 private:
  // A property as read, before its value is decoded.
  struct RawProperty {
    int Line = 0;
    bool HasHead = false;
    PropertyHead Head;
    ContentEncoding Content = ContentEncoding::Plain;
    bool Skipped = false;
    std::string Text;  // the head, ':', then the value (only the head when skipped)
    std::size_t HeadEnd = std::string::npos;
  };

  // The line read ahead and not yet used, else the next line of the file.
  bool ReadLine() {
    if (FPending) {
      FPending = false;
      return true;
    }
    if (!FLines.Next(FLine, FOptions.MaxLineBytes)) return false;
    if (FLines.LineNumber() == 1) CheckFileStart();
    if (FCard) {
      FCardBytes += FLines.LineLength() + 1;
      if (FCardBytes > FOptions.MaxCardBytes)
        throw EVCardError(
            FCard->Number, FLines.LineNumber(),
            "the card is larger than " + std::to_string(FOptions.MaxCardBytes) + " bytes");
    }
    return true;
  }

  void CheckFileStart() {
    if (FLine.starts_with("\xFF\xFE") || FLine.starts_with("\xFE\xFF"))
      throw EVCardError(0, 1, "the file is UTF-16 text; save it as UTF-8 and import that");
    FLine.erase(0, Utf8ByteOrderMarkLength(FLine));
  }

  void Warn(VCard& card, int line, const std::string& what) {
    if (card.Warnings.size() < kMaxWarningsPerCard) {
      card.Warnings.push_back("line " + std::to_string(line) + ": " + what);
    } else if (card.Warnings.size() == kMaxWarningsPerCard) {
      card.Warnings.push_back("more warnings left out");
    }
  }

  [[noreturn]] void TooLong(const VCard& card, int line) const {
    throw EVCardError(card.Number, line,
                      "a property longer than " + std::to_string(FOptions.MaxLineBytes) + " bytes");
  }

  VCard ReadCard(int beginLine) {
    VCard card;
    card.Number = ++FCardCount;
    card.Line = beginLine;
    FCard = &card;
    FCardBytes = 0;
    struct ClearCard {
      Impl* impl;
      ~ClearCard() { impl->FCard = nullptr; }
    } clear{this};

    while (ReadLine()) {
      const int line = FLines.LineNumber();
      if (IsBlankLine(FLine)) continue;
      if (IsWhitespaceStart(FLine)) {
        Warn(card, line, "a continued line that follows no property; left out");
        continue;
      }
      RawProperty raw = ReadProperty(card);
      if (!raw.HasHead) {
        Warn(card, raw.Line,
             "no ':' in \"" + RepairedUtf8(raw.Text.substr(0, 40)).Text + "\"; left out");
        continue;
      }
      const std::string& name = raw.Head.Name;
      const std::string_view value =
          raw.Skipped ? std::string_view() : std::string_view(raw.Text).substr(raw.HeadEnd + 1);
      if (name == "END" && platform::UpperCase(TrimBlanks(value)) == "VCARD") return card;
      if (name == "BEGIN" && platform::UpperCase(TrimBlanks(value)) == "VCARD") {
        Warn(card, raw.Line, "a new card begins before this one's END:VCARD");
        FBeginLine = raw.Line;
        return card;
      }
      if (name == "VERSION") {
        card.Version = std::string(TrimBlanks(value));
        continue;
      }
      if (card.Properties.size() == FOptions.MaxCardProperties)
        throw EVCardError(
            card.Number, raw.Line,
            "the card has more than " + std::to_string(FOptions.MaxCardProperties) + " properties");
      card.Properties.push_back(Decoded(card, std::move(raw)));
    }
    Warn(card, FLines.LineNumber(), "the file ends before the card's END:VCARD");
    return card;
  }

  // The property that starts on FLine with every line that continues it; the first line that
  // does not is left pending.
  RawProperty ReadProperty(const VCard& card) {
    RawProperty raw;
    raw.Line = FLines.LineNumber();
    raw.Text = FLine;
    bool truncated = FLines.Truncated();
    FindHead(raw);
    if (truncated && !raw.Skipped) TooLong(card, raw.Line);
    // Nothing continues a card's first or last line, and what follows the last is not the
    // card's to read.
    if (IsAnyCardBoundary(raw.Text)) return raw;

    while (ReadLine()) {
      if (!Continue(raw)) {
        FPending = true;
        break;
      }
      if (!raw.HasHead) FindHead(raw);
      if (!raw.Skipped && (FLines.Truncated() || raw.Text.size() > FOptions.MaxLineBytes))
        TooLong(card, raw.Line);
    }
    return raw;
  }

  void FindHead(RawProperty& raw) {
    raw.HeadEnd = FindUnquoted(raw.Text, ':');
    if (raw.HeadEnd == std::string::npos) return;
    raw.HasHead = true;
    raw.Head = ParseHead(std::string_view(raw.Text).substr(0, raw.HeadEnd));
    raw.Content = ContentOf(raw.Head);
    raw.Skipped = raw.Content == ContentEncoding::Binary || IsBinaryProperty(raw.Head.Name);
    if (raw.Skipped) raw.Text.resize(raw.HeadEnd);
  }

  // Whether FLine continues `raw`, taking it in when it does.
  bool Continue(RawProperty& raw) {
    const bool hasValue = raw.HasHead && raw.Text.size() > raw.HeadEnd + 1;
    // A quoted-printable soft line break: the next line goes on verbatim, leading blanks and all.
    if (raw.Content == ContentEncoding::QuotedPrintable && hasValue && raw.Text.back() == '=' &&
        !IsAnyCardBoundary(FLine)) {
      raw.Text.pop_back();
      raw.Text += FLine;
      return true;
    }
    if (IsWhitespaceStart(FLine)) {
      if (!raw.Skipped) raw.Text.append(FLine, 1);
      return true;
    }
    // 2.1 base64 content may go on in unindented lines up to a blank line.
    if (raw.Content == ContentEncoding::Binary && IsBase64Line(FLine)) return true;
    // Some phones end a line of a multi-line value with a backslash and go on in the next.
    if (raw.Content == ContentEncoding::Plain && !raw.Skipped && hasValue &&
        EndsWithOddBackslashes(raw.Text) && !IsAnyCardBoundary(FLine) &&
        FindUnquoted(FLine, ':') == std::string::npos) {
      raw.Text += 'n';
      raw.Text += FLine;
      return true;
    }
    return false;
  }

  VCardProperty Decoded(VCard& card, RawProperty raw) {
    VCardProperty property;
    property.Group = std::move(raw.Head.Group);
    property.Name = std::move(raw.Head.Name);
    property.Params = std::move(raw.Head.Params);
    property.Line = raw.Line;
    property.Skipped = raw.Skipped;
    if (raw.Skipped) return property;
    std::string_view text = std::string_view(raw.Text).substr(raw.HeadEnd + 1);
    if (raw.Content == ContentEncoding::QuotedPrintable) {
      // A soft line break with no line after it in the property breaks nothing.
      if (text.ends_with('=')) text.remove_suffix(1);
      property.Value = TextOf(card, property, DecodeQuotedPrintable(text));
    } else {
      property.Value = TextOf(card, property, std::string(text));
    }
    return property;
  }

  // The value's bytes as UTF-8, by its CHARSET parameter, else as UTF-8 when they are, else in
  // the fallback character set.
  std::string TextOf(VCard& card, const VCardProperty& property, const std::string& bytes) {
    const std::string where = property.Name + ": ";
    std::string charset = property.Param("CHARSET");
    const std::string upper = platform::UpperCase(charset);
    if (!charset.empty() && upper != "US-ASCII" && upper != "ASCII") {
      if (std::optional<DecodedText> decoded = DecodeCharset(bytes, charset)) {
        if (decoded->Replaced)
          Warn(card, property.Line,
               where + "bytes that are not valid " + charset + " became U+FFFD");
        return std::move(decoded->Text);
      }
      Warn(card, property.Line,
           where + "unknown character set " + charset + "; read as if none were named");
    }
    if (platform::IsValidUtf8(bytes)) return bytes;
    std::optional<DecodedText> best;
    std::string bestName;
    for (const std::string& fallback : FOptions.FallbackCharsets) {
      std::optional<DecodedText> decoded = DecodeCharset(bytes, fallback);
      if (!decoded || (best && decoded->Replaced)) continue;
      best = std::move(decoded);
      bestName = fallback;
      if (!best->Replaced) break;
    }
    if (!best) {
      best = RepairedUtf8(bytes);
      bestName = "UTF-8";
    }
    Warn(card, property.Line,
         where + "not UTF-8; read as " + bestName +
             (best->Replaced ? ", bytes not valid there became U+FFFD" : ""));
    return std::move(best->Text);
  }

  LineSource FLines;
  VCardOptions FOptions;
  std::string FLine;
  bool FPending = false;
  int FBeginLine = 0;  // a card began where the last one should have ended
  int FCardCount = 0;
  VCard* FCard = nullptr;  // the card being read
  std::uint64_t FCardBytes = 0;
};

VCardReader::VCardReader(std::istream& in, VCardOptions options)
    : FImpl(std::make_unique<Impl>(in, std::move(options))) {}

VCardReader::~VCardReader() = default;

std::optional<VCard> VCardReader::Next() {
  if (FError) std::rethrow_exception(FError);
  try {
    return FImpl->Next();
  } catch (...) {
    FError = std::current_exception();
    throw;
  }
}

}  // namespace addressbook
