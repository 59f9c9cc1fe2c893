#include "addressbook/import_preview.h"

namespace addressbook {

ImportPreview::ImportPreview(ImportSource& source, std::size_t rowCount)
    : Mapping(source.Columns()), FRowNoun(source.RowNoun()) {
  try {
    while (FRows.size() < rowCount) {
      std::optional<SourceRow> row = source.Next();
      if (!row) {
        FComplete = true;
        break;
      }
      FRows.push_back(std::move(*row));
    }
  } catch (const platform::Exception& e) {
    FError = e.what();
  }
}

std::string ImportPreview::Problem(std::size_t index) const {
  try {
    Mapping.Apply(FRows.at(index), FRowNoun);
  } catch (const EImportError& e) {
    return e.what();
  }
  return {};
}

}  // namespace addressbook
