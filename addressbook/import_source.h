#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace addressbook {

// One row of a file being imported, whatever kind of file it is.
struct SourceRow {
  int Number = 0;                   // the line (spreadsheet) or card (vCard) it comes from
  std::vector<std::string> Values;  // UTF-8, one per source column; missing ones read as empty
  std::vector<std::string> Notes;   // what the source read with a fallback or left out
};

// A file being imported, read one row at a time so a file of any size takes bounded memory.
class ImportSource {
 public:
  virtual ~ImportSource() = default;
  // The names of the source's columns, in its order: a spreadsheet's header, or the columns a
  // vCard fills.
  virtual const std::vector<std::string>& Columns() const = 0;
  // What a row's Number counts, for messages: "line" or "card".
  virtual std::string_view RowNoun() const = 0;
  // The next row, or nothing at the end. Throws (a platform::Exception) when the file cannot be
  // read on.
  virtual std::optional<SourceRow> Next() = 0;
};

// A row that cannot be imported as it is mapped, or a mapping that cannot be made. The text
// names the row ("card 3: ") and the column when there is one.
class EImportError : public platform::Exception {
 public:
  using Exception::Exception;
};

}  // namespace addressbook
