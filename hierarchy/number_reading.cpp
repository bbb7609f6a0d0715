// Reading the numbers of hierarchy files.
#include "hierarchy/number_reading.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace {

// White space as the C locale has it, which is what atof and atoi pass over first.
bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponents beyond this are far outside every floating-point range; reading stops growing there.
constexpr int kExponentCap = 100000;

// Whether a decimal number that the parser found out of range was too large (rather than too
// small): the place of its first significant digit, counted from the point, plus its exponent.
// Only called when the number had a non-zero digit, so the place is defined.
bool isTooLarge(const char* p) {
    long place = 0;
    bool seenPoint = false;
    bool significant = false;
    for (; isDigit(*p) || (*p == '.' && !seenPoint); ++p) {
        if (*p == '.') {
            seenPoint = true;
        } else if (!significant && *p == '0') {
            if (seenPoint) {
                --place;
            }
        } else {
            significant = true;
            if (!seenPoint) {
                ++place;
            }
        }
    }
    long exponent = 0;
    if (*p == 'e' || *p == 'E') {
        ++p;
        bool negative = false;
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            ++p;
        }
        for (; isDigit(*p); ++p) {
            if (exponent < kExponentCap) {
                exponent = exponent * 10 + (*p - '0');
            }
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    return place + exponent > 0;
}

}  // namespace

double readNumber(const char* token) {
    if (token == nullptr) {
        return 0.0;
    }
    const char* p = token;
    while (isSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Only a digit, or a point before a digit, begins a decimal number; this is what keeps
    // "inf", "nan" and the like out. A hexadecimal "0x" reads as its leading 0, since the
    // general format below stops at the x.
    if (!isDigit(p[0]) && !(p[0] == '.' && isDigit(p[1]))) {
        return 0.0;
    }
    double value = 0.0;
    std::from_chars_result result =
        std::from_chars(p, p + std::strlen(p), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = isTooLarge(p) ? static_cast<double>(FLT_MAX) : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    if (value > static_cast<double>(FLT_MAX)) {
        value = static_cast<double>(FLT_MAX);
    }
    return negative ? -value : value;
}

int readCount(const char* token) {
    if (token == nullptr) {
        return 0;
    }
    const char* p = token;
    while (isSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Gathered as a magnitude one past INT_MAX at most, which is exactly INT_MIN's.
    constexpr int64_t kLimit = static_cast<int64_t>(INT_MAX) + 1;
    int64_t magnitude = 0;
    for (; isDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > kLimit) {
            magnitude = kLimit;
        }
    }
    if (negative) {
        return static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}
