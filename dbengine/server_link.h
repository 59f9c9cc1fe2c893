#pragma once

#include <string>

namespace dbengine {

// A link file names an address list kept on a PostgreSQL server, and opens wherever a database
// file does (Data Source of the connection string). It is a small UTF-8 text file:
//
//   [zarize server list]
//   conninfo = host=db.office.lan dbname=office
//   schema = addresses
//
// The first line marks it, and is what tells it from a database file (which starts with
// "SQLite format 3") and a genuine Access file. Then one setting a line, "key = value", blanks
// around both ignored; blank lines and lines starting with '#' or ';' are comments:
//   conninfo  a libpq connection string or URI naming the server, the database and the role
//   service   instead of conninfo: a service of the libpq service file (~/.pg_service.conf)
//   schema    the schema that holds the list's tables (optional; else the role's search_path)
// Exactly one of conninfo and service. A link file never holds a password: libpq finds it in
// ~/.pgpass or the service file, where PostgreSQL users keep them.
struct TServerLink {
  std::string ConnInfo;
  std::string Service;
  std::string Schema;
};

// The first line of every link file.
inline constexpr const char* kServerLinkMark = "[zarize server list]";

// Whether the file at path starts as a link file does. A missing or unreadable file is not one.
bool IsServerLink(const std::string& path);

// The settings of the link file at path. Throws EDatabaseError, naming the file, for one that
// cannot be read, is larger than a link file can be, holds a line that is no setting, an unknown
// or repeated setting, neither or both of conninfo and service, a connection string libpq cannot
// read, or a password.
TServerLink ReadServerLink(const std::string& path);

// The same checks on settings given otherwise (on a command line); errors start with `subject`
// ("The link file '<path>'" for a file).
void CheckServerLink(const TServerLink& link, const std::string& subject);

// The text of a link file with these settings.
std::string ServerLinkText(const TServerLink& link);

}  // namespace dbengine
