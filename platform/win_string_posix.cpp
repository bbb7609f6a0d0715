// Stand-ins for the system's string calls, with the results the Windows calls give.
#include "platform/win_string.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace win {

char* lstrcpyA(char* to, const char* from) {
    if (to == nullptr || from == nullptr) {
        return nullptr;
    }
    std::memmove(to, from, std::strlen(from) + 1);
    return to;
}

int lstrlenA(const char* text) {
    return text == nullptr ? 0 : static_cast<int>(std::strlen(text));
}

int wsprintfA(char* out, const char* format, ...) {
    if (out == nullptr || format == nullptr) {
        return 0;
    }
    va_list args;
    va_start(args, format);
    int length = 0;
    bool cut = false;
    // Appends up to the limit; the rest of a long piece is dropped.
    auto append = [&](const char* piece, int size) {
        if (size > kFormatLimit - 1 - length) {
            size = kFormatLimit - 1 - length;
            cut = true;
        }
        if (size > 0) {
            std::memcpy(out + length, piece, static_cast<size_t>(size));
            length += size;
        }
    };
    const char* p = format;
    while (*p != '\0' && !cut) {
        if (*p != '%') {
            append(p++, 1);
            continue;
        }
        ++p;
        // One conversion, rebuilt for snprintf from the parts this call knows.
        char spec[32] = "%";
        size_t used = 1;
        while ((*p == '-' || *p == '0' || *p == '#') && used < 4) {
            spec[used++] = *p++;
        }
        int width = 0;
        while (*p >= '0' && *p <= '9') {
            width = width < 10000 ? width * 10 + (*p - '0') : width;
            ++p;
        }
        int precision = -1;
        if (*p == '.') {
            ++p;
            precision = 0;
            while (*p >= '0' && *p <= '9') {
                precision = precision < 10000 ? precision * 10 + (*p - '0') : precision;
                ++p;
            }
        }
        bool isLong = false;
        if (*p == 'l' || *p == 'h') {
            isLong = *p == 'l';
            ++p;
        }
        used += static_cast<size_t>(std::snprintf(spec + used, sizeof spec - used, "%d", width));
        if (precision >= 0) {
            used += static_cast<size_t>(
                std::snprintf(spec + used, sizeof spec - used, ".%d", precision));
        }
        char piece[kFormatLimit];
        int size = 0;
        const char type = *p;
        if (type == '\0') {
            break;
        }
        ++p;
        switch (type) {
            case 'd':
            case 'i': {
                const long value = isLong ? va_arg(args, long) : va_arg(args, int);
                std::snprintf(spec + used, sizeof spec - used, "ld");
                size = std::snprintf(piece, sizeof piece, spec, value);
                break;
            }
            case 'u':
            case 'x':
            case 'X': {
                const unsigned long value =
                    isLong ? va_arg(args, unsigned long) : va_arg(args, unsigned);
                std::snprintf(spec + used, sizeof spec - used, "l%c", type);
                size = std::snprintf(piece, sizeof piece, spec, value);
                break;
            }
            case 'c': {
                const char value = static_cast<char>(va_arg(args, int));
                std::snprintf(spec + used, sizeof spec - used, "c");
                size = std::snprintf(piece, sizeof piece, spec, value);
                break;
            }
            case 's': {
                const char* value = va_arg(args, const char*);
                std::snprintf(spec + used, sizeof spec - used, "s");
                size =
                    std::snprintf(piece, sizeof piece, spec, value != nullptr ? value : "(null)");
                break;
            }
            default:
                piece[0] = type;
                size = 1;
                break;
        }
        append(piece, size < 0 ? 0 : (size >= kFormatLimit ? kFormatLimit : size));
    }
    va_end(args);
    out[length] = '\0';
    return cut ? kFormatLimit : length;
}

}  // namespace win
