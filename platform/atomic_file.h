#pragma once

#include <sys/types.h>

#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/unique_fd.h"

namespace platform {

// How the permission bits of a written file are chosen.
struct FileMode {
  // A file made anew gets `bits` less the user's umask (the kernel applies it, as for any file
  // the user makes); a file that is replaced keeps the mode it had.
  static FileMode NewFile(mode_t bits = 0666) { return {bits, false}; }
  // Exactly `bits`, whatever the umask and whatever the replaced file had.
  static FileMode Exactly(mode_t bits) { return {bits, true}; }

  mode_t Bits;
  bool Exact;
};

// A file that appears whole or not at all: the text goes to a temporary file in the target's
// folder (created exclusively), and Commit renames it over the target, so a reader sees the old
// file or the new one, never a part. A link at the target is replaced, never followed.
class AtomicFileWriter {
 public:
  // Throws EInOutError.
  explicit AtomicFileWriter(std::string path, FileMode mode = FileMode::NewFile());
  ~AtomicFileWriter();  // without Commit the temporary file is removed, the target untouched
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  std::ostream& Stream() { return FBuffer; }
  // Writes, fsyncs, renames over the target and fsyncs the folder; throws EInOutError, which
  // names the target when it belongs to another user (a file planted in a shared folder).
  void Commit();

 private:
  std::string FPath;
  FileMode FMode;
  std::string FTempPath;
  UniqueFd FFd;
  std::ostringstream FBuffer;
};

void ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                           FileMode mode = FileMode::NewFile());

// Removes the hidden temporary files of `path` that writers killed while committing left
// behind. Only for a caller that knows no other writer of `path` is at work (it holds a lock).
void RemoveLeftTemporaries(const std::string& path);

}  // namespace platform
