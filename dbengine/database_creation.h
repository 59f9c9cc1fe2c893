#pragma once

#include <string>

namespace dbengine {

// Creates an empty database file at path that Open accepts (SQLite writes nothing for an empty
// database, so the file gets its header by setting the application id). Throws EDatabaseError
// when a file exists there, the folder cannot be written or the file cannot be made; nothing is
// left behind then.
void CreateEmptyDatabase(const std::string& path);

// Readies the file at path to be replaced by another database file: the rollback journal that a
// writer killed in the middle of a transaction left beside it is played back into it now (as any
// open would), since it would otherwise be played into whatever file next has the name. A file
// that is not a database cannot own that journal, which is then removed. Throws EDatabaseError
// when the journal cannot be played back.
void SettleInterruptedTransaction(const std::string& path);

}  // namespace dbengine
