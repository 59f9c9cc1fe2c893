#include "addressbook/vcard_import_source.h"

#include "addressbook/vcard_mapping.h"

namespace addressbook {

VCardImportSource::VCardImportSource(std::istream& in, VCardOptions options)
    : FReader(in, std::move(options)), FColumns(CardColumns().begin(), CardColumns().end()) {}

std::optional<SourceRow> VCardImportSource::Next() {
  std::optional<VCard> card = FReader.Next();
  if (!card) {
    if (!FAnyCard) throw EVCardError(0, 0, "the file holds no vCard (no BEGIN:VCARD line)");
    return std::nullopt;
  }
  FAnyCard = true;
  CardRecord mapped = RecordFromCard(*card);
  SourceRow row;
  row.Number = card->Number;
  for (const std::string& column : FColumns) row.Values.push_back(mapped.Record.Value(column));
  row.Notes = std::move(card->Warnings);
  if (!mapped.Dropped.empty()) {
    std::string dropped = "not imported:";
    for (const std::string& what : mapped.Dropped) dropped += " " + what + ";";
    dropped.pop_back();
    row.Notes.push_back(std::move(dropped));
  }
  return row;
}

}  // namespace addressbook
