#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "addressbook/column_mapping.h"
#include "addressbook/import_source.h"

namespace addressbook {

// The first rows of an import source, shown before anything is imported so the user can see
// and change where each column goes. Built anew when the user picks another encoding.
class ImportPreview {
 public:
  // Reads up to `rowCount` rows of `source`; the mapping starts as the default for its columns.
  // A fault in the file stops the preview there and is kept as Error(), so the rows before it
  // still show.
  ImportPreview(ImportSource& source, std::size_t rowCount);

  const std::vector<SourceRow>& Rows() const { return FRows; }
  std::string_view RowNoun() const { return FRowNoun; }
  // The source had no rows beyond these.
  bool Complete() const { return FComplete; }
  // Why the source could not be read past the rows shown; empty when it could.
  const std::string& Error() const { return FError; }

  ColumnMapping Mapping;

  // What stops previewed row `index` under the current mapping, as EImportError says it; empty
  // when it would import.
  std::string Problem(std::size_t index) const;

 private:
  std::string FRowNoun;
  std::vector<SourceRow> FRows;
  bool FComplete = false;
  std::string FError;
};

}  // namespace addressbook
