// The system's string calls the module uses: copying, measuring and formatting into fixed
// buffers. On Windows they are the kernel's and the user-interface library's own; elsewhere the
// stand-ins behave as those do, null texts and the 1024-character limit included.
#pragma once

namespace win {

// Size of the area wsprintfA may fill, terminator included: a longer result is cut to 1023
// characters, and the call then answers 1024.
constexpr int kFormatLimit = 1024;

// Copies from, terminator included, into to and returns to; null when either is null.
char* lstrcpyA(char* to, const char* from);
// The length of text without its terminator; 0 for null.
int lstrlenA(const char* text);
// Formats into out, which must hold kFormatLimit bytes, and returns the characters written
// without the terminator (kFormatLimit when the result was cut). Knows %c, %d, %i, %u, %x, %X, %s
// and %%, with the flags '-', '0' and
// '#', a width, a precision and the sizes 'l' and 'h'; floating-point conversions do not exist
// here and write their letter instead, as any other unknown conversion does.
int wsprintfA(char* out, const char* format, ...);

}  // namespace win
