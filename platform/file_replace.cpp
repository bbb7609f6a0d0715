// Kinds of files, links, files beside others and replacing one file by another: POSIX calls, or
// the Windows kernel's under _WIN32.
#include "platform/file_replace.h"

#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// The folder part of path with its last separator ("dir/"), or "" for a bare name.
std::string folderOf(const std::string& path) {
#ifdef _WIN32
    const std::string::size_type slash = path.find_last_of("/\\:");
#else
    const std::string::size_type slash = path.rfind('/');
#endif
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

#ifdef _WIN32

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

#else

namespace {

// Links followed before a path is taken as looping (the limit POSIX systems use themselves).
constexpr int kMaxLinks = 40;
// Names tried for a file beside the target before the folder is taken as refusing one.
constexpr int kNameAttempts = 100;

}  // namespace

FileKind fileKind(const char* path) {
    struct stat status;
    if (path == nullptr || ::stat(path, &status) != 0) {
        return FileKind::kMissing;
    }
    return S_ISREG(status.st_mode) ? FileKind::kRegular : FileKind::kOther;
}

std::string followLinks(const std::string& path) {
    std::string current = path;
    for (int links = 0; links < kMaxLinks; ++links) {
        struct stat status;
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return current;
        }
        std::string target(static_cast<size_t>(status.st_size > 0 ? status.st_size : 255) + 1,
                           '\0');
        const ssize_t length = ::readlink(current.c_str(), &target[0], target.size());
        if (length <= 0 || static_cast<size_t>(length) >= target.size()) {
            return current;
        }
        target.resize(static_cast<size_t>(length));
        // A relative link is taken from the folder the link stands in.
        current = target[0] == '/' ? target : folderOf(current) + target;
    }
    return current;
}

std::string createFileBeside(const std::string& target) {
    const unsigned long seed = static_cast<unsigned long>(::getpid()) * 2654435761ul ^
                               static_cast<unsigned long>(std::time(nullptr));
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%06lx~",
                      (seed + static_cast<unsigned long>(attempt) * 7919ul) & 0xFFFFFFul);
        const std::string name = target + suffix;
        // Exclusive creation: a name some other file has is never taken over. The mode is the
        // one a newly created figure file gets, less the user's mask.
        int descriptor;
        do {
            descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        } while (descriptor < 0 && errno == EINTR);
        if (descriptor >= 0) {
            ::close(descriptor);
            return name;
        }
        if (errno != EEXIST) {
            return std::string();
        }
    }
    return std::string();
}

bool copyPermissions(const std::string& model, const std::string& file) {
    struct stat status;
    if (::stat(model.c_str(), &status) != 0) {
        return false;
    }
    // Owner and group first: changing them may clear the set-id bits the mode then restores.
    // Only a privileged user may give a file away, so a refusal here is no failure.
    if (::chown(file.c_str(), status.st_uid, status.st_gid) != 0) {
        (void)::chown(file.c_str(), static_cast<uid_t>(-1), status.st_gid);
    }
    return ::chmod(file.c_str(), status.st_mode & 07777) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool syncFile(int handle) {
    int result;
    do {
        result = ::fsync(handle);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

#endif

}  // namespace platform
