// Numbers in the text of hierarchy files: values and offsets as the C library's atof reads them,
// counts as atoi does, without the corners of those functions that a hostile file could reach.
#pragma once

// The number a token begins with, read as atof reads a decimal number: leading white space, a
// sign, digits with an optional point and exponent; the first character that does not fit ends
// it, and a token that begins with no such number gives 0. Unlike atof it takes no "inf", "nan"
// or hexadecimal forms, does not depend on the locale, and keeps every result finite also as a
// float: a larger magnitude gives the largest float of its sign, a smaller one gives 0. A null
// token gives 0.
double readNumber(const char* token);

// The count a token begins with, read as atoi reads it (white space, a sign, digits), held within
// the range of int instead of overflowing; 0 when the token begins with no digits or is null.
int readCount(const char* token);
