#include "dbengine/access/access_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "platform/paths.h"
#include "platform/unique_fd.h"

namespace dbengine {
namespace {

// Page 0 of every Access file: a page-type byte and three zero bytes, then the format's name.
constexpr std::size_t kMagicSize = 20;
constexpr char kJetMagic[] = "\x00\x01\x00\x00Standard Jet DB";  // 20 bytes with its NUL
constexpr char kAceMagic[] = "\x00\x01\x00\x00Standard ACE DB";

// Single quotes for a shell, so the suggested command can be pasted as it is.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ConvertedName(const std::string& path) {
  const std::string folder = platform::FolderPart(path);
  std::string stem = platform::FileNamePart(path);
  const std::size_t dot = stem.rfind('.');
  if (dot != std::string::npos && dot > 0) stem.erase(dot);
  return platform::JoinPath(folder.empty() ? "." : folder, stem + "-converted.mdb");
}

}  // namespace

bool IsAccessFile(const std::string& path) {
  const platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.Valid()) return false;
  char header[kMagicSize];
  std::size_t got = 0;
  while (got < kMagicSize) {
    const ssize_t n = ::read(fd.Get(), header + got, kMagicSize - got);
    if (n <= 0) return false;  // short, a folder, or unreadable
    got += static_cast<std::size_t>(n);
  }
  return std::memcmp(header, kJetMagic, kMagicSize) == 0 ||
         std::memcmp(header, kAceMagic, kMagicSize) == 0;
}

std::string AccessChangeRefusal(const std::string& path) {
  return "The file '" + path +
         "' is an Access database, which opens read-only: it cannot be changed. To change it, "
         "convert it into a new database with: " +
         kAccessConverterProgram + " " + ShellQuoted(path) + " " + ShellQuoted(ConvertedName(path));
}

}  // namespace dbengine
