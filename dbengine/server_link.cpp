#include "dbengine/server_link.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>

#include "dbengine/errors.h"
#include "dbengine/quoting.h"
#include "platform/ascii_case.h"
#include "platform/unique_fd.h"

namespace dbengine {
namespace {

// Far more than any link file holds; a larger file is something else.
constexpr std::size_t kLargestLink = 64 * 1024;

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string FileSubject(const std::string& path) {
  return "The link file '" + path + "'";
}

[[noreturn]] void Refuse(const std::string& subject, const std::string& why) {
  throw EDatabaseError(subject + " " + why);
}

// Reads at most `limit` bytes; answers whether the file had no more.
bool ReadUpTo(const std::string& path, std::size_t limit, std::string& text) {
  const platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.Valid())
    Refuse(FileSubject(path), std::string("cannot be read: ") + std::strerror(errno));
  char buffer[4096];
  while (text.size() <= limit) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      Refuse(FileSubject(path), std::string("cannot be read: ") + std::strerror(errno));
    }
    if (n == 0) return true;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return false;
}

void CheckConnInfo(const std::string& connInfo, const std::string& subject) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(connInfo.c_str(), &error);
  if (options == nullptr) {
    const std::string why = error != nullptr ? Trimmed(error) : "out of memory";
    PQfreemem(error);
    Refuse(subject, "has a connection string that cannot be read: " + why);
  }
  const std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> owned(options,
                                                                             PQconninfoFree);
  for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option)
    if (std::strcmp(option->keyword, "password") == 0 && option->val != nullptr)
      Refuse(subject,
             "holds a password. A link file only names the server: keep the password in "
             "~/.pgpass or in the service file instead.");
}

}  // namespace

bool IsServerLink(const std::string& path) {
  const platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.Valid()) return false;
  const std::size_t size = std::strlen(kServerLinkMark);
  std::string start(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd.Get(), start.data() + got, size - got);
    if (n <= 0) return false;  // short, a folder, or unreadable
    got += static_cast<std::size_t>(n);
  }
  return start == kServerLinkMark;
}

void CheckServerLink(const TServerLink& link, const std::string& subject) {
  if (link.ConnInfo.empty() == link.Service.empty())
    Refuse(subject, "must name the server by exactly one of conninfo and service");
  if (!link.ConnInfo.empty()) CheckConnInfo(link.ConnInfo, subject);
  for (const std::string* value : {&link.ConnInfo, &link.Service, &link.Schema})
    if (value->find_first_of("\r\n") != std::string::npos)
      Refuse(subject, "has a setting that runs over more than one line");
}

TServerLink ReadServerLink(const std::string& path) {
  std::string text;
  if (!ReadUpTo(path, kLargestLink, text))
    Refuse(FileSubject(path), "is too large to be a link file");
  TServerLink link;
  bool seen[3] = {false, false, false};
  std::size_t start = 0;
  int number = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (++number == 1) {
      if (line != kServerLinkMark)
        Refuse(FileSubject(path), "does not start with " + std::string(kServerLinkMark));
      continue;
    }
    line = Trimmed(line);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos)
      Refuse(FileSubject(path),
             "has a line that is no setting (line " + std::to_string(number) + ")");
    const std::string key = Trimmed(line.substr(0, equals));
    const std::string value = Trimmed(line.substr(equals + 1));
    const char* const keys[] = {"conninfo", "service", "schema"};
    std::string* const targets[] = {&link.ConnInfo, &link.Service, &link.Schema};
    std::size_t which = 0;
    while (which < 3 && !platform::SameText(key, keys[which])) ++which;
    if (which == 3)
      Refuse(FileSubject(path),
             "has an unknown setting '" + key + "' (line " + std::to_string(number) + ")");
    if (seen[which])
      Refuse(FileSubject(path), "sets " + key + " twice (line " + std::to_string(number) + ")");
    seen[which] = true;
    *targets[which] = value;
  }
  if (number == 0) Refuse(FileSubject(path), "is empty");
  CheckServerLink(link, FileSubject(path));
  return link;
}

std::string ServerLinkText(const TServerLink& link) {
  std::string text = std::string(kServerLinkMark) + "\n";
  text +=
      "# An address list on a PostgreSQL server. No password here: libpq reads it from\n"
      "# ~/.pgpass or the service file.\n";
  if (!link.ConnInfo.empty()) text += "conninfo = " + link.ConnInfo + "\n";
  if (!link.Service.empty()) text += "service = " + link.Service + "\n";
  if (!link.Schema.empty()) text += "schema = " + link.Schema + "\n";
  return text;
}

}  // namespace dbengine
