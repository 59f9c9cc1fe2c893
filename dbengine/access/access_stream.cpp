#include "dbengine/access/access_stream.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

#include "platform/ascii_case.h"
#include "platform/cp949.h"
#include "platform/utf8.h"

namespace dbengine {
namespace {

constexpr std::string_view kFirstLine = "zarize-access 1\n";
// Access names are at most 64 characters; anything near this is damage.
constexpr std::uint64_t kMaxNameBytes = 1024;
constexpr std::uint64_t kMaxValueBytes = std::uint64_t{1} << 30;
constexpr std::uint64_t kMaxColumns = 4096;
constexpr std::uint64_t kMaxSize = std::uint64_t{1} << 30;
constexpr std::size_t kMaxWordBytes = 16;

struct KindWord {
  TAccessKind Kind;
  const char* Word;
};

constexpr KindWord kKindWords[] = {
    {TAccessKind::Text, "text"},          {TAccessKind::Memo, "memo"},
    {TAccessKind::Boolean, "bool"},       {TAccessKind::Byte, "byte"},
    {TAccessKind::Integer, "int"},        {TAccessKind::LongInteger, "long"},
    {TAccessKind::AutoNumber, "counter"}, {TAccessKind::Currency, "money"},
    {TAccessKind::Single, "single"},      {TAccessKind::Double, "double"},
    {TAccessKind::Numeric, "numeric"},    {TAccessKind::DateTime, "datetime"},
    {TAccessKind::Binary, "binary"},      {TAccessKind::Ole, "ole"},
    {TAccessKind::Guid, "guid"},
};

[[noreturn]] void Damaged(const std::string& what) {
  throw EAccessStreamError("The reader's output is damaged: " + what);
}

// Buffered reading of the stream's tokens.
class Input {
 public:
  explicit Input(TByteSource& source) : FSource(source), FBuffer(1 << 16) {}

  // The next byte without taking it, or -1 at the end of the stream.
  int Peek() {
    if (FPos == FEnd && !Fill()) return -1;
    return static_cast<unsigned char>(FBuffer[FPos]);
  }
  int Get() {
    const int c = Peek();
    if (c >= 0) ++FPos;
    return c;
  }
  void Expect(std::string_view text) {
    for (char c : text)
      if (Get() != static_cast<unsigned char>(c))
        Damaged(Peek() < 0 ? "it ends early" : "unexpected bytes");
  }
  // Lower-case letters and digits up to a blank or a line end, which stays unread.
  std::string Word() {
    std::string word;
    for (int c = Peek(); c >= 0 && c != ' ' && c != '\n'; c = Peek()) {
      if (!std::islower(c) && !std::isdigit(c)) Damaged("unexpected bytes");
      if (word.size() == kMaxWordBytes) Damaged("a word is too long");
      word += static_cast<char>(Get());
    }
    if (Peek() < 0) Damaged("it ends early");
    return word;
  }
  // Decimal digits, at most `max`.
  std::uint64_t Number(std::uint64_t max) {
    std::uint64_t value = 0;
    int digits = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      value = value * 10 + static_cast<unsigned>(Get() - '0');
      if (++digits > 19 || value > max) Damaged("a number is out of range");
    }
    if (digits == 0) Damaged(Peek() < 0 ? "it ends early" : "a number is missing");
    return value;
  }
  // "<length>:<bytes>".
  void Counted(std::uint64_t max, std::string& into) {
    const std::uint64_t length = Number(max);
    Expect(":");
    into.clear();
    into.reserve(length);
    std::uint64_t left = length;
    while (left > 0) {
      if (FPos == FEnd && !Fill()) Damaged("it ends early");
      const std::size_t take = static_cast<std::size_t>(
          std::min<std::uint64_t>(left, static_cast<std::uint64_t>(FEnd - FPos)));
      into.append(FBuffer.data() + FPos, take);
      FPos += take;
      left -= take;
    }
  }

 private:
  bool Fill() {
    FPos = 0;
    FEnd = FSource.Read(FBuffer.data(), FBuffer.size());
    return FEnd > 0;
  }

  TByteSource& FSource;
  std::vector<char> FBuffer;
  std::size_t FPos = 0;
  std::size_t FEnd = 0;
};

std::string Name(Input& in) {
  std::string name;
  in.Counted(kMaxNameBytes, name);
  if (name.empty() || !platform::IsValidUtf8(name) || name.find('\0') != std::string::npos)
    Damaged("a name is empty or not UTF-8");
  return name;
}

TAccessKind Kind(const std::string& word) {
  for (const KindWord& k : kKindWords)
    if (word == k.Word) return k.Kind;
  Damaged("unknown column kind '" + word + "'");
}

class StreamReader {
 public:
  StreamReader(TByteSource& source, TAccessStreamSink& sink) : FIn(source), FSink(sink) {}

  void Run() {
    FIn.Expect(kFirstLine);
    for (;;) {
      const std::string word = FIn.Word();
      if (word == "table") {
        Deliver();
        FIn.Expect(" ");
        FTable = {Name(FIn), {}};
        FIn.Expect("\n");
        FPending = true;
      } else if (word == "column") {
        if (!FPending) Damaged("a column outside a table's header");
        ReadColumn();
      } else if (word == "row") {
        Deliver();
        if (FTable.Columns.empty()) Damaged("a row outside a table");
        ReadRow();
      } else if (word == "end") {
        Deliver();
        FIn.Expect("\n");
        if (FIn.Peek() >= 0) Damaged("bytes after its end");
        return;
      } else {
        Damaged("unknown line '" + word + "'");
      }
    }
  }

 private:
  void ReadColumn() {
    FIn.Expect(" ");
    TAccessColumn column;
    column.Kind = Kind(FIn.Word());
    FIn.Expect(" ");
    column.Size = static_cast<int>(FIn.Number(kMaxSize));
    FIn.Expect(" ");
    column.Name = Name(FIn);
    FIn.Expect("\n");
    if (FTable.Columns.size() == kMaxColumns) Damaged("a table has too many columns");
    if (!FColumnNames.insert(platform::LowerCase(column.Name)).second)
      Damaged("column '" + column.Name + "' occurs twice");
    FTable.Columns.push_back(std::move(column));
  }

  // Hands a table whose header is complete to the sink.
  void Deliver() {
    if (!FPending) return;
    FPending = false;
    FColumnNames.clear();
    if (FTable.Columns.empty()) Damaged("table '" + FTable.Name + "' has no columns");
    if (!FTableNames.insert(platform::LowerCase(FTable.Name)).second)
      Damaged("table '" + FTable.Name + "' occurs twice");
    FSink.Table(FTable);
    FValues.resize(FTable.Columns.size());
  }

  void ReadRow() {
    for (TAccessValue& value : FValues) {
      FIn.Expect(" ");
      value.IsNull = FIn.Peek() == '-';
      if (value.IsNull) {
        FIn.Get();
        value.Bytes.clear();
      } else {
        FIn.Counted(kMaxValueBytes, value.Bytes);
      }
    }
    FIn.Expect("\n");
    FSink.Row(FValues);
  }

  Input FIn;
  TAccessStreamSink& FSink;
  TAccessTable FTable;
  bool FPending = false;
  std::set<std::string> FColumnNames;
  std::set<std::string> FTableNames;
  std::vector<TAccessValue> FValues;
};

void WriteCounted(std::ostream& out, std::string_view bytes) {
  out << bytes.size() << ':';
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

const char* AccessKindWord(TAccessKind kind) {
  for (const KindWord& k : kKindWords)
    if (k.Kind == kind) return k.Word;
  return "text";
}

bool IsBinaryKind(TAccessKind kind) {
  return kind == TAccessKind::Binary || kind == TAccessKind::Ole;
}

TAccessStreamWriter::TAccessStreamWriter(std::ostream& out) : FOut(out) {
  FOut << kFirstLine;
}

void TAccessStreamWriter::Table(const TAccessTable& table) {
  FOut << "table ";
  WriteCounted(FOut, table.Name);
  FOut << '\n';
  for (const TAccessColumn& column : table.Columns) {
    FOut << "column " << AccessKindWord(column.Kind) << ' ' << column.Size << ' ';
    WriteCounted(FOut, column.Name);
    FOut << '\n';
  }
}

void TAccessStreamWriter::BeginRow() {
  FOut << "row";
}

void TAccessStreamWriter::Null() {
  FOut << " -";
}

void TAccessStreamWriter::Value(std::string_view bytes) {
  FOut << ' ';
  WriteCounted(FOut, bytes);
}

void TAccessStreamWriter::EndRow() {
  FOut << '\n';
}

void TAccessStreamWriter::End() {
  FOut << "end\n";
  FOut.flush();
}

std::size_t TStringSource::Read(char* into, std::size_t size) {
  const std::size_t take = std::min(size, FBytes.size());
  if (take == 0) return 0;
  std::memcpy(into, FBytes.data(), take);
  FBytes.remove_prefix(take);
  return take;
}

void ReadAccessStream(TByteSource& source, TAccessStreamSink& sink) {
  StreamReader(source, sink).Run();
}

}  // namespace dbengine
