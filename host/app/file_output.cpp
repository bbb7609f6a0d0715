#include "host/app/file_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fighost {
namespace {

// The reason itself is left out: the path is what the user acts on.
std::string failure(const std::string& path, int) {
    return "cannot write " + path;
}

// Writes every byte to fd; the errno of the failure, or 0.
int writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

bool writeDirectly(const std::string& path, const std::string& bytes, std::string* error) {
    int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        *error = failure(path, errno);
        return false;
    }
    int written = writeAll(fd, bytes);
    int closed = close(fd) == 0 ? 0 : errno;
    if (written != 0 || closed != 0) {
        *error = failure(path, written != 0 ? written : closed);
        return false;
    }
    return true;
}

}  // namespace

bool writeWholeFile(const std::string& path, const std::string& bytes, std::string* error) {
    if (path.empty()) {
        *error = "cannot write a file without a name";
        return false;
    }
    std::string target = path;
    struct stat info;
    bool exists = stat(path.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode)) {
            *error = failure(path, EISDIR);
            return false;
        }
        return writeDirectly(path, bytes, error);
    }
    if (exists) {
        // A link is replaced at its file, not turned into a file of its own.
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved) != nullptr)
            target = resolved;
    }
    std::string temporary = target + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        *error = failure(path, errno);
        return false;
    }
    mode_t mode;
    if (exists) {
        mode = info.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    int failed = fchmod(fd, mode) == 0 ? 0 : errno;
    if (failed == 0)
        failed = writeAll(fd, bytes);
    if (close(fd) != 0 && failed == 0)
        failed = errno;
    if (failed == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        failed = errno;
    if (failed != 0) {
        unlink(temporary.c_str());
        *error = failure(path, failed);
        return false;
    }
    return true;
}

bool flushStandardOutput(std::string* error) {
    // A write that failed earlier left its reason in errno; a failing flush gives its own.
    int before = errno;
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    int reason = errno != 0 ? errno : before != 0 ? before : EIO;
    *error = std::string("cannot write the output: ") + std::strerror(reason);
    return false;
}

void guardStandardDescriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        int standIn = open("/dev/null", O_RDONLY);
        if (standIn >= 0 && standIn != fd) {
            dup2(standIn, fd);
            close(standIn);
        }
    }
}

}  // namespace fighost
