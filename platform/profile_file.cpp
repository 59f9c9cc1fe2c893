#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/cp949.h"
#include "platform/errors.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/profile_text.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

// A value is read into a 2048-byte buffer, so at most 2047 bytes come back.
constexpr std::size_t kMaxValueBytes = 2047;

struct FileContent {
  bool exists = false;
  std::string bytes;
};

FileContent ReadWhole(const std::string& path) {
  FileContent content;
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno == ENOENT) return content;
    ThrowInOutError(errno);
  }
  content.exists = true;
  char buffer[65536];
  for (;;) {
    ssize_t got = read(fd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ThrowInOutError(errno);
    if (got == 0) break;
    content.bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return content;
}

// Writers lock the folder rather than the file: the file itself is replaced by each write, so a
// lock on it would be lost with it.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : FFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (FFd.Get() < 0) ThrowInOutError(errno);
    while (flock(FFd.Get(), LOCK_EX) != 0) {
      if (errno != EINTR) ThrowInOutError(errno);
    }
  }

 private:
  UniqueFd FFd;  // closing it drops the lock
};

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

ProfileFile::ProfileFile(std::string path, mode_t newFileBits)
    : FPath(std::move(path)), FNewFileBits(newFileBits) {}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
  std::string bytes;
  try {
    bytes = ReadWhole(FPath).bytes;
  } catch (const EInOutError&) {
    return defaultValue;
  }
  std::optional<std::string_view> value = FindProfileValue(bytes, ToCp949(section), ToCp949(key));
  if (!value) return defaultValue;
  std::size_t length = 0;
  while (length < value->size()) {
    std::size_t next = length + Cp949CharLength(*value, length);
    if (next > kMaxValueBytes) break;
    length = next;
  }
  return FromCp949(value->substr(0, length));
}

int ProfileFile::ReadInteger(const std::string& section, const std::string& key,
                             int defaultValue) const {
  return StrToIntDef(ReadString(section, key, ""), defaultValue);
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key,
                           bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  try {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
      throw EInOutError("line break in a profile entry", EINVAL);
    }
    std::string folder = FolderPart(FPath);
    FolderLock lock(folder.empty() ? "." : folder);
    RemoveLeftTemporaries(FPath);  // no writer is at work now: any such file is a dead one's
    FileContent old = ReadWhole(FPath);
    ReplaceFileAtomically(
        FPath, SetProfileValue(old.bytes, ToCp949(section), ToCp949(key), ToCp949(value)),
        FileMode::NewFile(FNewFileBits));
  } catch (const EInOutError&) {
    throw EIniFileError("Unable to write to " + FPath);
  }
}

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace platform
