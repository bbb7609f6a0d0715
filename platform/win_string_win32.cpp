// The system's own string calls on Windows: the kernel's lstrcpyA and lstrlenA, and the
// user-interface library's formatting.
#include "platform/win_string.h"

#include <cstdarg>

#include <windows.h>

namespace win {

char* lstrcpyA(char* to, const char* from) {
    return ::lstrcpyA(to, from);
}

int lstrlenA(const char* text) {
    return ::lstrlenA(text);
}

int wsprintfA(char* out, const char* format, ...) {
    if (out == nullptr || format == nullptr) {
        return 0;
    }
    va_list args;
    va_start(args, format);
    const int length = ::wvsprintfA(out, format, args);
    va_end(args);
    return length;
}

}  // namespace win
