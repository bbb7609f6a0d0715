// What a save needs from the operating system beyond reading and writing a handle: what kind of
// file a path names, where a symbolic link leads, a new file beside another, its permissions, and
// putting one file in another's place in one step. POSIX calls here; the Windows kernel's under
// _WIN32.
#pragma once

#include <string>

namespace platform {

// What a path names, after following symbolic links.
enum class FileKind {
    kMissing,  // nothing there (or nothing that can be looked at)
    kRegular,  // an ordinary file, which can be replaced by another
    kOther,    // a folder, a device, a pipe or a socket: written in place, never replaced
};

// The kind of file at path; kMissing for a null path.
FileKind fileKind(const char* path);

// The path that path leads to once every symbolic link on it (the last part of the path; folders
// are taken as they stand) is followed; path itself when it is no link or the system has none.
// A link that leads nowhere gives the path where its file would be. Gives up after 40 links and
// returns the path reached then, which the caller's open fails on if it still loops.
std::string followLinks(const std::string& path);

// Makes a new, empty file in the folder of target, named after it, that no other file had; its
// path, or "" when the folder does not take one. The file is closed; the caller removes it.
std::string createFileBeside(const std::string& target);

// Gives file the permissions of model (on POSIX the mode bits and, where the system allows, the
// owner and group). False when file's permissions could not be set.
bool copyPermissions(const std::string& model, const std::string& file);

// Puts from in the place of to in one step, replacing a file to names: afterwards to holds what
// from held and from is gone. False, with both left as they were, when it cannot.
bool replaceFile(const std::string& from, const std::string& to);

// Removes the file at path; false when it could not.
bool removeFile(const std::string& path);

// Has the system write what it holds of an open file handle's data to its disk; false when that
// fails (a full disk that the writes did not yet report shows here).
bool syncFile(int handle);

}  // namespace platform
