#pragma once

#include <string>

namespace dbengine {

// Creates an empty database file at path that Open accepts (SQLite writes nothing for an empty
// database, so the file gets its header by setting the application id). Throws EDatabaseError
// when a file exists there, the folder cannot be written or the file cannot be made; nothing is
// left behind then.
void CreateEmptyDatabase(const std::string& path);

}  // namespace dbengine
