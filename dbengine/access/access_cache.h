#pragma once

#include <string>

namespace dbengine {

// Where converted copies of genuine Access files are kept: $XDG_CACHE_HOME/zarize when that is an
// absolute path, else ~/.cache/zarize. Made 0700 when missing, narrowed to 0700 when wider;
// throws EDatabaseError when it is not a folder of this user's. Each time it is asked for, what
// must not stay there goes: entries that are not this user's own files (links, folders, files
// of others or that others may change, planted while the folder was open to them) and the part
// files of conversions whose process is gone.
std::string AccessCacheFolder();

// Where the converted copy of the Access file at source is kept. The name comes from the file's
// path, size, modification time and a hash of its content, so a changed file gets a new copy.
// Throws EDatabaseError when the file cannot be read.
std::string AccessCopyPath(const std::string& source);

// The converted copy of the Access file at source, read only now when no up-to-date copy is kept,
// by `reader` (empty: AccessReaderProgram(); tests name theirs). A copy is served only when it
// is this user's own file, never through a link. A new copy replaces the older copies of the
// same file. Throws what ConvertAccessFile throws.
std::string UpToDateAccessCopy(const std::string& source, const std::string& reader = "");

}  // namespace dbengine
