// zarize-mdb-read: writes a genuine Access file's tables and rows to standard output as the
// stream the database engine reads. The engine runs it in a child process under a time limit, so
// a damaged file cannot take the calling program down.
#include <sys/resource.h>
#include <sys/stat.h>

#include <iostream>

#include "programs/mdb-reader/access_dump.h"

namespace {

// A damaged file can make the library allocate without end, faster than the engine's time limit
// stops it; the cap leaves room for every bound column and the largest OLE value the file can
// hold. Under AddressSanitizer, which reserves far more address space up front, there is none.
void LimitMemory(const char* path) {
#ifndef __SANITIZE_ADDRESS__
  constexpr rlim_t kBase = rlim_t{1} << 30;
  struct stat info {};
  const rlim_t size = ::stat(path, &info) == 0 ? static_cast<rlim_t>(info.st_size) : 0;
  const rlimit limit{kBase + 2 * size, kBase + 2 * size};
  ::setrlimit(RLIMIT_AS, &limit);
#else
  (void)path;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: zarize-mdb-read <Access file .mdb>\n";
    return 2;
  }
  LimitMemory(argv[1]);
  std::ios::sync_with_stdio(false);
  try {
    dbengine::TAccessStreamWriter writer(std::cout);
    mdbreader::DumpAccessFile(argv[1], writer);
  } catch (const std::exception& e) {
    std::cerr << "zarize-mdb-read: " << argv[1] << ": " << e.what() << "\n";
    return 1;
  }
  return std::cout.good() ? 0 : 1;
}
