#pragma once

#include <string>

namespace dbengine {

// Makes sure the file at path is a whole database before SQLite sees it, since SQLite would take
// an empty file as an empty database and notice damage only when it reads there. Throws
// EDatabaseError for a missing path, a folder, an unreadable file, a file without the database
// header and one shorter than the page count its header declares. Answers whether the file may
// be written: its permissions allow it and its folder can take the rollback journal.
bool CheckDatabaseFile(const std::string& path);

// The error of every file that turns out not to be a database.
[[noreturn]] void ThrowNotADatabase(const std::string& path);

}  // namespace dbengine
