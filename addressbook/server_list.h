#pragma once

#include <string>

namespace addressbook {

class Tdm;

// What `create --server` is told beside the server.
struct ServerListOptions {
  // The schema to keep the list in, made when missing; empty: the role's search path.
  std::string Schema;
  // A role (a person, or a group of the office's people) that may use the list.
  std::string ShareWith;
};

// Makes a new, empty address list on the PostgreSQL server `connInfo` names (a libpq connection
// string, never one with a password) and a link file to it at `linkPath`, which opens wherever
// an address database does. The list has the tables a new database has, with the tick kept by
// each person who connects (a role of their own), and the index of the list's order. An
// existing file at `linkPath` is left alone unless `replace`; the link file appears only once
// the list is made, and a list that cannot be made leaves nothing on the server. Throws
// EAddressFileError saying why.
void CreateServerAddressList(Tdm& dm, const std::string& connInfo, const std::string& linkPath,
                             const ServerListOptions& options, bool replace);

}  // namespace addressbook
