#pragma once

#include <sys/types.h>

#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

namespace platform {

// A file that appears whole or not at all: the text goes to a temporary file in the target's
// folder (created exclusively, with exactly `mode`), and Commit renames it over the target, so a
// reader sees the old file or the new one, never a part. A link at the target is replaced,
// never followed.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path, mode_t mode = 0644);  // throws EInOutError
  ~AtomicFileWriter();  // without Commit the temporary file is removed, the target untouched
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  std::ostream& Stream() { return FBuffer; }
  // Writes, fsyncs, renames over the target and fsyncs the folder; throws EInOutError.
  void Commit();

 private:
  std::string FPath;
  std::string FTempPath;
  int FFd = -1;
  std::ostringstream FBuffer;
};

void ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t mode = 0644);

// Removes the hidden temporary files of `path` that writers killed while committing left
// behind. Only for a caller that knows no other writer of `path` is at work (it holds a lock).
void RemoveLeftTemporaries(const std::string& path);

}  // namespace platform
