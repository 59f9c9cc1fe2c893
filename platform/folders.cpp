#include "platform/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <set>

#include "platform/errors.h"
#include "platform/io_error.h"
#include "platform/paths.h"

namespace platform {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The value of one `XDG_..._DIR="..."` line of user-dirs.dirs, or nothing when the line does not
// set `name` in one of the two forms the file allows.
bool ParseUserDir(const std::string& line, const std::string& name, const std::string& home,
                  std::string& value) {
  std::size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line.compare(i, name.size(), name) != 0) return false;
  i = line.find_first_not_of(" \t", i + name.size());
  if (i == std::string::npos || line[i] != '=') return false;
  i = line.find_first_not_of(" \t", i + 1);
  if (i == std::string::npos || line[i] != '"') return false;
  ++i;
  std::string path;
  if (line.compare(i, 5, "$HOME") == 0) {
    path = home;
    i += 5;
    if (i < line.size() && line[i] != '/' && line[i] != '"') return false;
  } else if (i >= line.size() || line[i] != '/') {
    return false;
  }
  for (; i < line.size() && line[i] != '"'; ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) ++i;  // the shell's escapes inside quotes
    path += line[i];
  }
  if (i == line.size()) return false;  // no closing quote
  value = WithoutTrailingSlashes(path);
  return true;
}

// Why other users could see or plant files in the folder at `path`, or "" when they cannot: it
// must be a directory itself (not a link to one), owned by this user, writable by nobody else.
std::string WhyNotPrivate(const std::string& path) {
  if (path.front() != '/') return "it is not an absolute path";
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (S_ISLNK(info.st_mode)) return "it is a link";
  if (!S_ISDIR(info.st_mode)) return "it is not a folder";
  if (info.st_uid != getuid()) return "it belongs to another user";
  if ((info.st_mode & 022) != 0) return "other users may write to it";
  return "";
}

// Says once per value, for the user, why the runtime folder the environment names is not used.
void ReportRefusedRuntime(const std::string& runtime, const std::string& why,
                          const std::string& instead) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  const std::lock_guard<std::mutex> hold(mutex);
  if (!reported.insert(runtime).second) return;
  std::cerr << program_invocation_short_name << ": not using XDG_RUNTIME_DIR " << runtime << " ("
            << why << "); using " << instead << " instead\n";
}

}  // namespace

std::string ExecutablePath() {
  std::string buffer(4096, '\0');
  ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length < 0) ThrowInOutError(errno);
  buffer.resize(static_cast<std::size_t>(length));
  return buffer;
}

std::string ExecutableFolder() {
  return FolderPart(ExecutablePath());
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty()) return WithoutTrailingSlashes(home);
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/";
}

std::string ConfigFolder() {
  std::string config = Env("XDG_CONFIG_HOME");
  if (!config.empty() && config.front() == '/') return WithoutTrailingSlashes(config);
  return JoinPath(HomeFolder(), ".config");
}

std::string DocumentsFolder() {
  std::string home = HomeFolder();
  std::ifstream file(JoinPath(ConfigFolder(), "user-dirs.dirs"));
  std::string documents, line, value;
  // The file is shell code, so a later assignment wins.
  while (std::getline(file, line)) {
    if (ParseUserDir(line, "XDG_DOCUMENTS_DIR", home, value)) documents = value;
  }
  return documents.empty() ? home : documents;
}

std::string TempFolder() {
  std::string tmp = Env("TMPDIR");
  if (!tmp.empty() && DirectoryExists(tmp)) return WithoutTrailingSlashes(tmp);
  return "/tmp";
}

std::string RuntimeFolder() {
  const std::string runtime = WithoutTrailingSlashes(Env("XDG_RUNTIME_DIR"));
  if (runtime.empty()) return PrivateFolderIn("/tmp");
  const std::string why = WhyNotPrivate(runtime);
  if (why.empty()) return runtime;
  const std::string instead = PrivateFolderIn("/tmp");
  ReportRefusedRuntime(runtime, why, instead);
  return instead;
}

std::string PrivateFolderIn(const std::string& parent) {
  std::string folder = JoinPath(parent, "zarize-" + std::to_string(getuid()));
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ThrowInOutError(errno);
  struct stat info;
  if (lstat(folder.c_str(), &info) != 0) ThrowInOutError(errno);
  if (!S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
    throw EInOutError("The folder " + folder + " is not a directory owned by this user", EPERM);
  }
  if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0) ThrowInOutError(errno);
  return folder;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool DeleteFile(const std::string& path) {
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

void CreateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return;
  int err = errno;
  if (err == EEXIST && DirectoryExists(path)) return;
  ThrowInOutError(err);
}

void CreateFolders(const std::string& path) {
  if (path.empty() || DirectoryExists(path)) return;
  const std::string parent = FolderPart(path);
  if (parent != path) CreateFolders(parent);
  CreateFolder(path);
}

}  // namespace platform
