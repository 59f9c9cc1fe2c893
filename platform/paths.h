#pragma once

#include <string>

namespace platform {

// Folder part of a path: everything before the last '/', and "/" itself for a file in the root.
// A path without a separator has an empty folder part.
std::string FolderPart(const std::string& path);
// File-name part: everything after the last '/'.
std::string FileNamePart(const std::string& path);
// Joins a folder and a name with one '/'.
std::string JoinPath(const std::string& folder, const std::string& name);

// The application's name: the executable's file name without its folder, cut at its first dot,
// every character after the first in lower case ("ZERAVU.EXE" gives "Zeravu").
std::string ApplicationName(const std::string& executablePath);

}  // namespace platform
