// Writing an output file whole, or reporting why not and leaving nothing half-written.
#include "host/app/core/file_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_replace.h"

namespace fighost {
namespace {

// Writes every byte to fd; false when a write fails.
bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes bytes into the file the save chose, emptying it first, and has a new file synced to the
// disk before it takes the target's place; false on any failure.
bool writeChosen(const platform::SaveTarget& save, const std::string& bytes) {
    int fd = open(save.written.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = writeAll(fd, bytes) && (!save.replaces() || platform::syncFile(fd));
    return close(fd) == 0 && written;
}

}  // namespace

bool writeWholeFile(const std::string& path, const std::string& bytes, std::string* error) {
    if (path.empty()) {
        *error = "cannot write a file without a name";
        return false;
    }
    // Saved as the module saves a figure: a link is replaced at its file, not turned into a file
    // of its own; a device, a pipe or a folder is written in place (a folder then refuses).
    const platform::SaveTarget save = platform::chooseSaveTarget(path);
    const bool done = platform::finishSave(save, writeChosen(save, bytes));
    // The reason itself is left out: the path is what the user acts on.
    if (!done)
        *error = "cannot write " + path;
    return done;
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
