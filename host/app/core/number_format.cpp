// Writing numbers as the shortest text that reads back as the same value.
#include "host/app/core/number_format.h"

#include <charconv>
#include <cmath>

namespace fighost {
namespace {

template <typename T>
std::string shortestText(T value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    // Minus zero reads as zero to every reader of our output.
    if (value == 0)
        return "0";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string floatText(float value) {
    return shortestText(value);
}

std::string doubleText(double value) {
    return shortestText(value);
}

}  // namespace fighost
