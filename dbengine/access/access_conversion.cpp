#include "dbengine/access/access_conversion.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "dbengine/access/access_import.h"
#include "dbengine/access/reader_process.h"
#include "dbengine/database_file.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace dbengine {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

// A name beside target that no other conversion uses at the same time.
std::string PartName(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return target + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

}  // namespace

TAccessReadLimits AccessReadLimitsFor(std::uint64_t fileSize) {
  // A stored row takes at least its two-byte offset on the page; its values, written out as
  // text, take at most a few dozen times the bytes they take in the file.
  return {std::chrono::milliseconds(10'000 + 1'000 * (fileSize / (4 * kMiB))), fileSize / 2 + 1'000,
          64 * fileSize + 16 * kMiB};
}

std::string AccessReaderProgram() {
  const std::string beside = platform::JoinPath(platform::ExecutableFolder(), kAccessReaderProgram);
  if (::access(beside.c_str(), X_OK) == 0) return beside;
  throw EDatabaseError(std::string("The program ") + kAccessReaderProgram +
                       ", which reads Access files, is missing beside this program.");
}

void ConvertAccessFile(const std::string& source, const std::string& target,
                       const std::string& reader, const TAccessReadLimits& limits) {
  const std::string part = PartName(target);
  platform::DeleteFile(part);  // left by a process that had this id and died converting
  TReaderProcess process(reader, {source}, limits.Time, limits.MaxBytes);
  try {
    ImportAccessStream(process, part, limits.MaxRows);
  } catch (const EAccessStreamError&) {
    ThrowNotADatabase(source);
  }
  if (!process.Finish()) {
    platform::DeleteFile(part);
    ThrowNotADatabase(source);
  }
  if (::rename(part.c_str(), target.c_str()) != 0) {
    const int error = errno;
    platform::DeleteFile(part);
    throw EDatabaseError("Cannot store the converted copy of '" + source +
                         "': " + std::strerror(error));
  }
}

}  // namespace dbengine
