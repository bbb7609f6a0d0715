// The operating-system file calls the text-file layer is written against, over POSIX. Handles are
// small integers; every call answers -1 where the file layer expects a failure.
#pragma once

namespace win {

using HFILE = int;
constexpr HFILE kFileError = -1;

// Style flags of OpenFile, as the file layer combines them.
constexpr unsigned OF_READ = 0x0000;
constexpr unsigned OF_WRITE = 0x0001;
constexpr unsigned OF_READWRITE = 0x0002;
constexpr unsigned OF_SHARE_DENY_NONE = 0x0040;
constexpr unsigned OF_CREATE = 0x1000;

// Scratch information OpenFile fills; callers do not keep it.
struct OFSTRUCT {
    unsigned char length;
    unsigned char fixedDisk;
    unsigned short errorCode;
    char pathName[260];
};

// Opens fileName with the given style; the handle, or -1 when it cannot be opened. A created file
// is open for reading and writing. Any path the system takes is taken, however long.
HFILE OpenFile(const char* fileName, OFSTRUCT* info, unsigned style);
// Reads up to count bytes at the file position; the count read (0 at the end), or -1.
long _lread(HFILE file, void* buffer, unsigned long count);
// Writes count bytes at the file position; the count written, or -1. Writing 0 bytes sets the end
// of the file at the file position.
long _lwrite(HFILE file, const void* buffer, unsigned long count);
// Moves the file position (origin 0 start, 1 current, 2 end); the new position, or -1.
long _llseek(HFILE file, long offset, int origin);
// Closes the handle; 0, or -1 on failure.
HFILE _lclose(HFILE file);

}  // namespace win
