// zarize-db: creates, fills, exports and counts Zeravu's address databases from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "programs/zarize-db/command_line.h"

int main(int argc, char** argv) {
  return zarizedb::RunZarizeDb(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                               std::cerr);
}
