// Kinds of files, links, files beside others and replacing one file by another: the Windows
// kernel's calls.
#include "platform/file_replace.h"

#include <windows.h>

namespace platform {

namespace {

// The folder part of path with its last separator ("dir/"), or "" for a bare name.
std::string folderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of("/\\:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

FileKind fileKind(const char* path) {
    if (path == nullptr) {
        return FileKind::kMissing;
    }
    HANDLE handle = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileKind::kMissing
                                                                              : FileKind::kOther;
    }
    FileKind kind = FileKind::kOther;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        kind = FileKind::kRegular;
    }
    CloseHandle(handle);
    return kind;
}

std::string followLinks(const std::string& path) {
    // Opening a link's path opens its target, and MoveFileEx replaces the link itself; links are
    // rare enough on Windows that the link is what gets replaced there.
    return path;
}

std::string createFileBeside(const std::string& target) {
    std::string folder = folderOf(target);
    if (folder.empty()) {
        folder = ".";
    }
    char name[MAX_PATH];
    // GetTempFileNameA makes the file, under a name no file in the folder has.
    if (GetTempFileNameA(folder.c_str(), "fig", 0, name) == 0) {
        return std::string();
    }
    return name;
}

bool copyPermissions(const std::string& model, const std::string& file) {
    const DWORD attributes = GetFileAttributesA(model.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    // The read-only flag is left out: the file is still to be moved into place, and a read-only
    // target refuses the move anyway.
    const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return SetFileAttributesA(file.c_str(), kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept) != 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

bool syncFile(int) {
    // The move into place is made with MOVEFILE_WRITE_THROUGH, which returns only once the file
    // is on the disk.
    return true;
}

}  // namespace platform
