// The string calls as the module uses them, with the results Windows gives.
#include "platform/win_string.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(WinStringTest, CopyAndLengthTakeNullTexts) {
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(win::lstrcpyA(buffer, "abc"), buffer);
    EXPECT_EQ(std::memcmp(buffer, "abc\0xxx", 8), 0);
    EXPECT_EQ(win::lstrcpyA(buffer, nullptr), nullptr);
    EXPECT_EQ(win::lstrcpyA(nullptr, "abc"), nullptr);
    EXPECT_EQ(win::lstrlenA("abc"), 3);
    EXPECT_EQ(win::lstrlenA(""), 0);
    EXPECT_EQ(win::lstrlenA(nullptr), 0);
}

TEST(WinStringTest, FormattingKnowsItsConversionsOnly) {
    char out[win::kFormatLimit];
    // What one call wrote, with the length it answered.
    auto format = [&out](auto... args) {
        const int length = win::wsprintfA(out, args...);
        return std::to_string(length) + ":" + out;
    };
    EXPECT_EQ(format("_Cable%d", 2147483647), "16:_Cable2147483647");
    EXPECT_EQ(format("%s|%d|%5d|%-4s|%x|%X|%c|%%", "ab", -3, 42, "q", 255, 255, 'z'),
              "26:ab|-3|   42|q   |ff|FF|z|%");
    EXPECT_EQ(format("%u|%ld|%lu|%05d|%.2s", 4000000000u, -7L, 7ul, 42, "abc"),
              "24:4000000000|-7|7|00042|ab");
    // Floating point is not this call's: the letter stands for the conversion.
    EXPECT_EQ(format("%f|%g", 1.5, 2.5), "3:f|g");
    EXPECT_EQ(format("%s", static_cast<const char*>(nullptr)), "6:(null)");

    // The result is cut to 1023 characters and terminated; the call then answers 1024.
    const std::string longText(1500, 'b');
    EXPECT_EQ(win::wsprintfA(out, "%s%s", "a", longText.c_str()), win::kFormatLimit);
    EXPECT_EQ(std::strlen(out), static_cast<size_t>(win::kFormatLimit - 1));
    EXPECT_EQ(out[0], 'a');
}

}  // namespace
