// The file calls of the text-file layer on Windows: the kernel's own OpenFile, _lread, _lwrite,
// _llseek and _lclose, behind the same declarations as the stand-in used elsewhere. Two things
// are added: styles that give no open handle are refused, moves past 2 GB are refused, and names
// whose full path is too long for OpenFile's own record (127 characters) but within the system's
// limit (259) are opened the way OpenFile opens the shorter ones.
#include "platform/win_file.h"

#include <climits>
#include <cstdio>

// After our own header: <windows.h> defines the style names as macros.
#include <windows.h>

namespace win {

namespace {

// Style bits that leave an open handle behind: access, sharing and create. The others (parse
// only, delete, exist, verify, reopen, prompt, cancel) do not, and read- plus write-access
// together (3) gives a handle that can neither read nor write.
constexpr unsigned kAccessBits = 0x0003;
constexpr unsigned kShareBits = 0x0070;
constexpr unsigned kCreateBit = 0x1000;
constexpr unsigned kKnownStyles = kAccessBits | kShareBits | kCreateBit;
// Longest transfer one call moves, so that counts fit the signed 32-bit results above us.
constexpr unsigned long kMaxTransfer = 0x7FFFFFFF;

// Opens a name too long for OpenFile with the same access, sharing and creation OpenFile uses.
HFILE openLongName(const char* fileName, unsigned style) {
    DWORD access = GENERIC_READ;
    if ((style & kAccessBits) == 0x0001) {
        access = GENERIC_WRITE;
    } else if ((style & kAccessBits) == 0x0002 || (style & kCreateBit) != 0) {
        access = GENERIC_READ | GENERIC_WRITE;
    }
    DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
    switch (style & kShareBits) {
        case 0x0010:
            sharing = 0;
            break;  // exclusive
        case 0x0020:
            sharing = FILE_SHARE_READ;
            break;  // deny write
        case 0x0030:
            sharing = FILE_SHARE_WRITE;
            break;  // deny read
        default:
            break;
    }
    const DWORD creation = (style & kCreateBit) != 0 ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE handle =
        CreateFileA(fileName, access, sharing, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return kFileError;
    }
    // Kernel handles fit in 32 bits on every Windows; OpenFile hands them out the same way.
    return static_cast<HFILE>(reinterpret_cast<INT_PTR>(handle));
}

}  // namespace

HFILE OpenFile(const char* fileName, OFSTRUCT* info, unsigned style) {
    if (info != nullptr) {
        info->length = static_cast<unsigned char>(sizeof(OFSTRUCT));
        info->fixedDisk = 1;
        info->errorCode = 0;
        info->pathName[0] = '\0';
    }
    if (fileName == nullptr || (style & ~kKnownStyles) != 0 || (style & kAccessBits) == 3) {
        return kFileError;
    }
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(fileName, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) {
        return kFileError;
    }
    ::OFSTRUCT record{};
    HFILE handle;
    if (length < OFS_MAXPATHNAME) {
        handle = ::OpenFile(fileName, &record, style);
    } else {
        handle = openLongName(full, style);
    }
    if (info != nullptr) {
        info->errorCode = record.nErrCode;
        std::snprintf(info->pathName, sizeof info->pathName, "%s", full);
    }
    return handle == HFILE_ERROR ? kFileError : handle;
}

long _lread(HFILE file, void* buffer, unsigned long count) {
    const UINT got = ::_lread(file, buffer, count > kMaxTransfer ? kMaxTransfer : count);
    return got == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(got);
}

long _lwrite(HFILE file, const void* buffer, unsigned long count) {
    const UINT put =
        ::_lwrite(file, static_cast<LPCCH>(buffer), count > kMaxTransfer ? kMaxTransfer : count);
    return put == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(put);
}

// The kernel moves to positions up to 4 GB and reports those past 2 GB as negative numbers, which
// callers cannot tell from a failure; such moves are refused here before the position changes.
long _llseek(HFILE file, long offset, int origin) {
    if (origin < 0 || origin > 2) {
        return -1;
    }
    const LONG current = ::_llseek(file, 0, 1);
    if (current == HFILE_ERROR) {
        return -1;
    }
    long long base = current;
    if (origin == 0) {
        base = 0;
    } else if (origin == 2) {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file)), &size)) {
            return -1;
        }
        base = size.QuadPart;
    }
    const long long target = base + offset;
    if (target < 0 || target > LONG_MAX) {
        return -1;
    }
    return ::_llseek(file, static_cast<LONG>(target), 0);
}

HFILE _lclose(HFILE file) {
    return ::_lclose(file) == HFILE_ERROR ? kFileError : 0;
}

}  // namespace win
