#pragma once

// The stream in which the reader of genuine Access files hands their contents to this engine. It
// is the only way such a file enters: the reader writes it, the engine reads it and trusts
// nothing in it it has not checked.
//
//   zarize-access 1\n                      first line
//   table <name>\n                         a table, then its columns, then its rows
//   column <kind> <size> <name>\n          kind: a word of TAccessKind; size: characters of a
//                                          text column, else as the file gives it
//   row( -| <value>)*\n                    one entry per column: "-" for null, else a value
//   end\n                                  after the last table
//
// Names and values are written as "<length>:<bytes>" (length in bytes, decimal), so any byte may
// occur in them. Text is UTF-8; a date-time is "YYYY-MM-DD HH:MM:SS"; a yes/no value is 0 or 1;
// numbers are decimal text; binary values are their bytes.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "dbengine/errors.h"

namespace dbengine {

enum class TAccessKind {
  Text,
  Memo,
  Boolean,
  Byte,
  Integer,
  LongInteger,
  AutoNumber,
  Currency,
  Single,
  Double,
  Numeric,
  DateTime,
  Binary,
  Ole,
  Guid
};

// The word the stream names a kind by ("text", "memo", "bool" ...).
const char* AccessKindWord(TAccessKind kind);
bool IsBinaryKind(TAccessKind kind);

struct TAccessColumn {
  std::string Name;
  TAccessKind Kind = TAccessKind::Text;
  int Size = 0;
};

struct TAccessTable {
  std::string Name;
  std::vector<TAccessColumn> Columns;
};

struct TAccessValue {
  bool IsNull = true;
  std::string Bytes;
};

// A stream that is not whole or not well formed, or a reader that broke a limit: the file it came
// from is not a database this engine can read.
class EAccessStreamError : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};

class TAccessStreamWriter {
 public:
  explicit TAccessStreamWriter(std::ostream& out);  // writes the first line

  void Table(const TAccessTable& table);
  // A row is BeginRow, then Null or Value once per column, then EndRow.
  void BeginRow();
  void Null();
  void Value(std::string_view bytes);
  void EndRow();
  void End();

 private:
  std::ostream& FOut;
};

// Where a stream is read from.
class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // Up to size bytes into `into`; 0 at the end of the stream.
  virtual std::size_t Read(char* into, std::size_t size) = 0;
};

class TStringSource : public TByteSource {
 public:
  // The bytes are not copied: they must outlive the source.
  explicit TStringSource(std::string_view bytes) : FBytes(bytes) {}
  explicit TStringSource(std::string&&) = delete;
  std::size_t Read(char* into, std::size_t size) override;

 private:
  std::string_view FBytes;
};

// What a stream holds, as it is read.
class TAccessStreamSink {
 public:
  virtual ~TAccessStreamSink() = default;
  virtual void Table(const TAccessTable& table) = 0;
  // One value per column of the last table.
  virtual void Row(const std::vector<TAccessValue>& values) = 0;
};

// Reads a whole stream into the sink, up to and including its "end" line, after which nothing may
// follow. Throws EAccessStreamError for anything else: a stream cut short, a malformed line, a
// row of the wrong width, a table without columns, a name that is empty, not UTF-8 or used twice
// (table names among tables, column names within a table, without regard to ASCII case).
void ReadAccessStream(TByteSource& source, TAccessStreamSink& sink);

}  // namespace dbengine
