#pragma once

#include <string>

namespace platform {

std::string ExecutablePath();  // the running program, as /proc/self/exe names it
std::string ExecutableFolder();
std::string HomeFolder();    // $HOME, else the password database's entry
std::string ConfigFolder();  // $XDG_CONFIG_HOME when absolute, else ~/.config
// The XDG documents folder (XDG_DOCUMENTS_DIR in <ConfigFolder()>/user-dirs.dirs, "$HOME/..." or
// an absolute path), else the home folder: what `xdg-user-dir DOCUMENTS` reports.
std::string DocumentsFolder();
std::string TempFolder();  // $TMPDIR when it names a folder, else /tmp
// $XDG_RUNTIME_DIR when it names a folder only this user can change (a directory, not a link,
// owned by this user, writable by nobody else), else PrivateFolderIn("/tmp"). Locks and the pick
// socket live there, so a folder others can write is never used: standard error says once why.
std::string RuntimeFolder();
// <parent>/zarize-<uid>, made 0700 when missing. Throws EInOutError when it is not a directory
// (a link included) owned by this user, since other users could then see or plant files in it.
std::string PrivateFolderIn(const std::string& parent);

bool FileExists(const std::string& path);       // a regular file, or a link to one
bool DirectoryExists(const std::string& path);  // a directory, or a link to one
bool DeleteFile(const std::string& path);       // true when nothing is left at the path
// Makes one folder level; an existing folder is not an error. Throws EInOutError with the
// run-time library's wording (see io_error.h).
void CreateFolder(const std::string& path);
// Makes the folder and every missing folder above it; errors as CreateFolder.
void CreateFolders(const std::string& path);

}  // namespace platform
