// Saving a file so that a failure never destroys what was there, and what that needs from the
// operating system beyond reading and writing a handle: what kind of file a path names, where a
// symbolic link leads, a new file beside another, its permissions, and putting one file in
// another's place in one step (file_replace_posix.cpp, file_replace_win32.cpp).
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

// Where a save writes, chosen by chooseSaveTarget: a new file beside the target that takes the
// target's place at the end, or the target itself (a device or a pipe, or a target in a folder
// that takes no new file, or whose permissions cannot be given to a new one).
struct SaveTarget {
    std::string target;   // the file the data ends up in, symbolic links followed
    std::string written;  // the file to write: a new, empty file beside target, or target itself
    bool replaces() const { return written != target; }
};

// The one way every save of this project writes path: links followed, a regular file (or none)
// replaced by a new file beside it with its permissions, anything else written in place. The
// caller writes save.written, has it synced to the disk (syncFile) when save.replaces(), closes
// it, and ends with finishSave.
SaveTarget chooseSaveTarget(const std::string& path);

// Ends a save: when written (every write, the sync and the close succeeded) the new file takes the
// target's place; otherwise, or when that fails, the new file is removed and the target is left as
// it was. True when the target holds what was written.
bool finishSave(const SaveTarget& save, bool written);

// Has the system write what it holds of an open file handle's data to its disk; false when that
// fails (a full disk that the writes did not yet report shows here).
bool syncFile(int handle);

}  // namespace platform
