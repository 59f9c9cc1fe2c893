#pragma once

#include <string>

namespace platform {

// The run-time library's wording for a failed file or folder operation: "File access denied"
// (EACCES, EPERM, EROFS), "Path not found" (ENOENT, ENOTDIR), "Disk full" (ENOSPC, EDQUOT),
// else "I/O error <errno>".
std::string InOutErrorText(int errorCode);
// Why a file at `path` cannot be replaced when another user owns it: "File access denied: <path>
// belongs to another user".
std::string ForeignFileText(const std::string& path);
// Throws EInOutError with that text and the code.
[[noreturn]] void ThrowInOutError(int errorCode);

}  // namespace platform
