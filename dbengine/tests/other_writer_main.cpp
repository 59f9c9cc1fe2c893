// Changes a database file from a process of its own, as another program or another desk would:
//   dbengine-other-writer <database> <statement>...
// Each statement runs in the Jet dialect on a connection of this process; exit code 0 when all
// of them ran.
#include <iostream>

#include "dbengine/connection.h"
#include "dbengine/jet_connection_string.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: dbengine-other-writer <database> <statement>...\n";
    return 2;
  }
  try {
    dbengine::TADOConnection conn;
    conn.ConnectionString = dbengine::JetConnectionString(argv[1]);
    conn.Open();
    for (int i = 2; i < argc; ++i) conn.Execute(argv[i]);
  } catch (const std::exception& e) {
    std::cerr << "dbengine-other-writer: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
