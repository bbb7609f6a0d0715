// Kinds of files, links, files beside others and replacing one file by another: POSIX calls.
#include "platform/file_replace.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace platform {

namespace {

// The folder part of path with its last separator ("dir/"), or "" for a bare name.
std::string folderOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

namespace {

// Links followed before a path is taken as looping (the limit POSIX systems use themselves).
constexpr int kMaxLinks = 40;
// Names tried for a file beside the target before the folder is taken as refusing one.
constexpr int kNameAttempts = 100;
// Characters of the target's name kept in the name of a file beside it when the whole name and
// the suffix would be too long for the folder.
constexpr size_t kShortStem = 32;

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
    // A file name already as long as the folder takes leaves no room for the suffix: the new
    // file is then named after its first characters only.
    std::string stem = target;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%06lx~",
                      (seed + static_cast<unsigned long>(attempt) * 7919ul) & 0xFFFFFFul);
        const std::string name = stem + suffix;
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
        if (errno == ENAMETOOLONG && stem.size() > folderOf(target).size() + kShortStem) {
            stem = folderOf(target) + target.substr(folderOf(target).size(), kShortStem);
            --attempt;
            continue;
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

}  // namespace platform
