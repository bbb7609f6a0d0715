// The operating-system file calls of the text-file layer, over POSIX descriptors. Each call keeps
// the contract the layer relies on: a handle or -1 from OpenFile, byte counts or -1 from the
// transfers, and 32-bit positions from _llseek.
#include "platform/win_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace win {

namespace {

// Mask of the access field (read, write, read and write) in an OpenFile style.
constexpr unsigned kAccessMask = 0x0003;
// Mask of the sharing field; POSIX has no share modes, so any value there is accepted and ignored.
constexpr unsigned kShareMask = 0x0070;
// Style bits this stand-in understands; anything else (parse only, delete, exist, reopen, prompt)
// would not hand back an open handle, so it is refused rather than misread as a descriptor.
constexpr unsigned kKnownStyles = kAccessMask | kShareMask | OF_CREATE;
// Largest transfer one call moves, so that every count fits the signed 32-bit results above us.
constexpr unsigned long kMaxTransfer = 0x7FFFFFFF;
// Largest position _llseek reports; the callers keep file positions in 32-bit signed fields.
constexpr long long kMaxPosition = INT32_MAX;

// Fills the caller's scratch record the way callers of OpenFile may expect; nothing relies on it.
void describe(OFSTRUCT* info, const char* fileName, int error) {
    if (info == nullptr) {
        return;
    }
    info->length = static_cast<unsigned char>(sizeof(OFSTRUCT));
    info->fixedDisk = 1;
    info->errorCode = static_cast<unsigned short>(error);
    std::snprintf(info->pathName, sizeof(info->pathName), "%s", fileName ? fileName : "");
}

}  // namespace

HFILE OpenFile(const char* fileName, OFSTRUCT* info, unsigned style) {
    const unsigned access = style & kAccessMask;
    if (fileName == nullptr || (style & ~kKnownStyles) != 0 || access == kAccessMask) {
        describe(info, fileName, EINVAL);
        return kFileError;
    }
    // Every path the system takes is taken: Windows' limit on a full path is Windows' alone.
    int flags = O_CLOEXEC | O_NOCTTY;
    if ((style & OF_CREATE) != 0) {
        // As on Windows, a created file is open for reading and writing, whatever the access.
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else if (access == OF_WRITE) {
        flags |= O_WRONLY;
    } else if (access == OF_READWRITE) {
        flags |= O_RDWR;
    } else {
        flags |= O_RDONLY;
    }
    int descriptor;
    do {
        descriptor = ::open(fileName, flags, 0644);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        describe(info, fileName, errno);
        return kFileError;
    }
    // A folder opens for reading under POSIX, but it is no file to read bytes from.
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        describe(info, fileName, EISDIR);
        return kFileError;
    }
    describe(info, fileName, 0);
    return descriptor;
}

long _lread(HFILE file, void* buffer, unsigned long count) {
    if (count > kMaxTransfer) {
        count = kMaxTransfer;
    }
    char* into = static_cast<char*>(buffer);
    unsigned long total = 0;
    // A file hands over everything asked for up to its end; a short read only means "go on".
    while (total < count) {
        const ssize_t got = ::read(file, into + total, count - total);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return total > 0 ? static_cast<long>(total) : -1;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<unsigned long>(got);
    }
    return static_cast<long>(total);
}

long _lwrite(HFILE file, const void* buffer, unsigned long count) {
    if (count > kMaxTransfer) {
        count = kMaxTransfer;
    }
    if (count == 0) {
        // As on Windows, writing nothing sets the end of the file at the current position.
        // Devices have no end to set.
        struct stat status;
        if (::fstat(file, &status) != 0) {
            return -1;
        }
        const off_t position = ::lseek(file, 0, SEEK_CUR);
        if (S_ISREG(status.st_mode) && (position < 0 || ::ftruncate(file, position) != 0)) {
            return -1;
        }
        return 0;
    }
    const char* from = static_cast<const char*>(buffer);
    unsigned long total = 0;
    // Reports the bytes that reached the file, so a caller can tell a partial write from a whole.
    while (total < count) {
        const ssize_t put = ::write(file, from + total, count - total);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return total > 0 ? static_cast<long>(total) : -1;
        }
        if (put == 0) {
            break;
        }
        total += static_cast<unsigned long>(put);
    }
    return static_cast<long>(total);
}

long _llseek(HFILE file, long offset, int origin) {
    const off_t current = ::lseek(file, 0, SEEK_CUR);
    if (current < 0) {
        return -1;
    }
    long long base;
    if (origin == 0) {
        base = 0;
    } else if (origin == 1) {
        base = current;
    } else if (origin == 2) {
        struct stat status;
        if (::fstat(file, &status) != 0) {
            return -1;
        }
        base = status.st_size;
    } else {
        return -1;
    }
    // Work out the target first, so that a refused move leaves the position where it was.
    long long target;
    if (__builtin_add_overflow(base, static_cast<long long>(offset), &target) || target < 0 ||
        target > kMaxPosition) {
        return -1;
    }
    if (target == current) {
        return static_cast<long>(target);
    }
    if (::lseek(file, static_cast<off_t>(target), SEEK_SET) < 0) {
        return -1;
    }
    return static_cast<long>(target);
}

HFILE _lclose(HFILE file) {
    return ::close(file) == 0 ? 0 : kFileError;
}

}  // namespace win
