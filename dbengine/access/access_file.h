#pragma once

#include <string>

namespace dbengine {

// The converter users run to turn an old Access list into a database this engine can change.
inline constexpr const char* kAccessConverterProgram = "zarize-mdb-convert";

// Whether the file at path starts as a genuine Access database does (Jet 3, Jet 4 or the later
// ACE format). A missing or unreadable file is not one.
bool IsAccessFile(const std::string& path);

// The error a change to a genuine Access file meets: such a file is served from a converted copy
// that takes no changes. The text names the file and the command that converts it.
std::string AccessChangeRefusal(const std::string& path);

}  // namespace dbengine
