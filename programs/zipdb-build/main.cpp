// zipdb-build: turns a postcode list into the postcode database the programs look postcodes up in.
#include <iostream>

#include "platform/errors.h"
#include "postcodedb/zip_database.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: zipdb-build <postcode list .csv> <postcode database .mdb>\n"
                 "  The list is either the postal service's layout (header "
                 "ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ, code page 949)\n"
                 "  or UTF-8 with a header naming 우편번호, 주소 and 읍면동.\n";
    return 2;
  }
  try {
    postcodedb::BuildZipDatabase(argv[1], argv[2]);
  } catch (const platform::Exception& e) {
    std::cerr << "zipdb-build: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
