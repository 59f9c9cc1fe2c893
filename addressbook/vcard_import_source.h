#pragma once

#include <istream>

#include "addressbook/import_source.h"
#include "addressbook/vcard_reader.h"

namespace addressbook {

// The cards of a vCard file as rows: one per card, its columns those RecordFromCard fills, its
// notes the card's warnings and what the record leaves out. Throws EVCardError where the reader
// does, and for a file that holds no card at all.
class TVCardImportSource : public TImportSource {
 public:
  explicit TVCardImportSource(std::istream& in, TVCardOptions options = {});

  const std::vector<std::string>& Columns() const override { return FColumns; }
  std::string_view RowNoun() const override { return "card"; }
  std::optional<TSourceRow> Next() override;

 private:
  TVCardReader FReader;
  std::vector<std::string> FColumns;
  bool FAnyCard = false;
};

}  // namespace addressbook
