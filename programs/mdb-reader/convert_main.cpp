// zarize-mdb-convert: turns an old address list (a genuine Access file, which Zeravu opens only
// for viewing and exporting) into a new address database Zeravu can change.
#include <iostream>

#include "programs/mdb-reader/address_list_conversion.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: zarize-mdb-convert <old address list .mdb> <new address database .mdb>\n"
                 "  The new file must not exist yet; the old list is only read.\n";
    return 2;
  }
  try {
    const std::vector<mdbreader::TCopiedTable> tables =
        mdbreader::ConvertAddressList(argv[1], argv[2]);
    std::int64_t rows = 0;
    for (const mdbreader::TCopiedTable& table : tables) {
      std::cout << table.Name << ": " << table.Rows << " rows\n";
      rows += table.Rows;
    }
    std::cout << "Converted '" << argv[1] << "' into '" << argv[2] << "': " << tables.size()
              << " tables, " << rows << " rows.\n";
  } catch (const std::exception& e) {
    std::cerr << "zarize-mdb-convert: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
