#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>

namespace platform {

// What one read of a settings file found. Reads through it see the file as it was then, so a
// caller that wants several keys reads the file once.
class ProfileSnapshot {
 public:
  // The default when the file, the section or the key is missing; at most 2047 bytes of the
  // stored value, cut before a character.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // An integer value that is not a valid integer reads as the default; a boolean is an integer
  // other than 0.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

 private:
  friend class ProfileFile;
  explicit ProfileSnapshot(std::string bytes) : FBytes(std::move(bytes)) {}
  std::string FBytes;  // as on disk, in CP949; empty for a missing or unreadable file
};

// A settings file in the Windows profile (INI) format, shared with another program that reads
// and writes it too. Nothing is cached: every read and write goes to the file, so each sees what
// the other program left. Text is UTF-8 through this API and CP949 on disk.
//
// A write keeps every other byte of the file, lands at once and whole (temporary file, rename),
// keeps the file's mode (a file it makes gets newFileBits less the umask), and is serialised against writers in other processes through the lock
// file ".<name>.lock" beside the file, so no key written concurrently is lost. A write that
// cannot be done throws EIniFileError "Unable to write to <path>" and leaves the file as it was;
// so does one that waits longer than the lock wait for another writer to finish. See
// profile_text.h for how lines are read and placed.
//
// A file larger than kMaxFileSize is refused: reading it throws EIniFileError "Unable to read
// <path>: ..." (a refused file is not the same as a missing one, so it gives no defaults), and
// writing it fails like any other write. A missing or unreadable file reads as empty.
class ProfileFile {
 public:
  // Far beyond any real settings file (a few hundred bytes), and small enough that reading one
  // costs nothing worth mentioning.
  static constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;
  static constexpr std::chrono::milliseconds kDefaultLockWait{5000};

  explicit ProfileFile(std::string path, mode_t newFileBits = 0666,
                       std::chrono::milliseconds lockWait = kDefaultLockWait);
  const std::string& FileName() const { return FPath; }

  ProfileSnapshot Read() const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  // A line break in a name or value would change the meaning of other lines, so it is refused.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"

 private:
  std::string FPath;
  mode_t FNewFileBits;
  std::chrono::milliseconds FLockWait;
};

}  // namespace platform
