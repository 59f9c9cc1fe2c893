#pragma once

#include <istream>

#include "addressbook/import_source.h"
#include "addressbook/vcard_reader.h"

namespace addressbook {

// The cards of a vCard file as rows: one per card, its columns those RecordFromCard fills, its
// notes the card's warnings and what the record leaves out. Throws EVCardError where the reader
// does, and for a file that holds no card at all.
class VCardImportSource : public ImportSource {
 public:
  explicit VCardImportSource(std::istream& in, VCardOptions options = {});

  const std::vector<std::string>& Columns() const override { return FColumns; }
  std::string_view RowNoun() const override { return "card"; }
  std::optional<SourceRow> Next() override;

 private:
  VCardReader FReader;
  std::vector<std::string> FColumns;
  bool FAnyCard = false;
};

}  // namespace addressbook
