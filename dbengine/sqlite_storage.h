#pragma once

// Internal to this layer: a database file as the storage of a connection, through SQLite.

#include <memory>
#include <string>

#include "dbengine/storage.h"

namespace dbengine {

// Opens the database file at path (never creating one): a missing, unreadable or damaged file,
// a folder, or a file that is not a database fails with EDatabaseError. A file the process may
// not write opens read-only, and so does the file when `readOnly` asks for it, and a genuine
// Access file, served from a converted copy kept in the user's cache folder and read by
// `accessReader` (empty: the one beside the running executable).
std::unique_ptr<Storage> OpenFileStorage(const std::string& path, bool readOnly,
                                         const std::string& accessReader);

}  // namespace dbengine
