#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/cp949.h"
#include "platform/errors.h"
#include "platform/file_lock.h"
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
  std::string bytes;
};

[[noreturn]] void RefuseTooLarge(const std::string& path) {
  throw EIniFileError("Unable to read " + path + ": the file is larger than " +
                      std::to_string(ProfileFile::kMaxFileSize) +
                      " bytes, far more than a settings file holds");
}

// The whole file; empty for a missing one. Throws EInOutError when it cannot be read (a FIFO or
// a device is not read at all) and EIniFileError when it is too large to be a settings file.
FileContent ReadWhole(const std::string& path) {
  FileContent content;
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno == ENOENT) return content;
    ThrowInOutError(errno);
  }
  struct stat info;
  if (fstat(fd.Get(), &info) != 0) ThrowInOutError(errno);
  if (!S_ISREG(info.st_mode)) ThrowInOutError(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
  if (static_cast<std::size_t>(info.st_size) > ProfileFile::kMaxFileSize) RefuseTooLarge(path);
  content.bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t got = read(fd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ThrowInOutError(errno);
    if (got == 0) break;
    content.bytes.append(buffer, static_cast<std::size_t>(got));
    if (content.bytes.size() > ProfileFile::kMaxFileSize) RefuseTooLarge(path);  // it grew
  }
  return content;
}

// The file that serialises the writers of `path`. The file itself cannot carry the lock: each
// write replaces it, and a lock on it would be lost with it.
std::string LockFileFor(const std::string& path) {
  std::string name = ".";  // built in steps: GCC 12 misreports "literal" + std::string
  name.append(FileNamePart(path)).append(".lock");
  return JoinPath(FolderPart(path), name);
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

std::string ProfileSnapshot::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const {
  std::optional<std::string_view> value = FindProfileValue(FBytes, ToCp949(section), ToCp949(key));
  if (!value) return defaultValue;
  std::size_t length = 0;
  while (length < value->size()) {
    std::size_t next = length + Cp949CharLength(*value, length);
    if (next > kMaxValueBytes) break;
    length = next;
  }
  return FromCp949(value->substr(0, length));
}

int ProfileSnapshot::ReadInteger(const std::string& section, const std::string& key,
                                 int defaultValue) const {
  return StrToIntDef(ReadString(section, key, ""), defaultValue);
}

bool ProfileSnapshot::ReadBool(const std::string& section, const std::string& key,
                               bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

ProfileFile::ProfileFile(std::string path, mode_t newFileBits, std::chrono::milliseconds lockWait)
    : FPath(std::move(path)), FNewFileBits(newFileBits), FLockWait(lockWait) {}

ProfileSnapshot ProfileFile::Read() const {
  try {
    return ProfileSnapshot(ReadWhole(FPath).bytes);
  } catch (const EInOutError&) {
    return ProfileSnapshot("");
  }
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
  return Read().ReadString(section, key, defaultValue);
}

int ProfileFile::ReadInteger(const std::string& section, const std::string& key,
                             int defaultValue) const {
  return Read().ReadInteger(section, key, defaultValue);
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key,
                           bool defaultValue) const {
  return Read().ReadBool(section, key, defaultValue);
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  try {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
      throw EInOutError("line break in a profile entry", EINVAL);
    }
    const FileLock lock(LockFileFor(FPath), FLockWait);
    RemoveLeftTemporaries(FPath);  // no writer is at work now: any such file is a dead one's
    FileContent old = ReadWhole(FPath);
    const std::string updated =
        SetProfileValue(old.bytes, ToCp949(section), ToCp949(key), ToCp949(value));
    old.bytes = std::string();  // only one copy of the file at a time
    if (updated.size() > kMaxFileSize) throw EInOutError("settings file too large", EFBIG);
    ReplaceFileAtomically(FPath, updated, FileMode::NewFile(FNewFileBits));
  } catch (const Exception&) {
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
