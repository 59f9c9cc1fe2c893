#pragma once

// Internal to this layer: an address list on a database server (PostgreSQL) as the storage of a
// connection, named by a link file.

#include <memory>
#include <string>

#include "dbengine/storage.h"

namespace dbengine {

// Connects to the server the link file at path names; `readOnly` makes every transaction of the
// connection read-only. Throws EDatabaseError for a link file that cannot be read or holds a
// password, and for a server that cannot be reached.
std::unique_ptr<Storage> OpenServerStorage(const std::string& path, bool readOnly);

}  // namespace dbengine
