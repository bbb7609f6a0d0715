// The numbers the dialogs' data exchange reads and writes.
#include "toolkit/dialog_base.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(DialogNumbersTest, ReadsOnlyWholeTextsOfTheirKind) {
    const struct {
        const char* text;
        bool number;
        double asNumber;
        bool whole;
        int32_t asWhole;
        bool unsignedWhole;
    } cases[] = {
        {"30", true, 30, true, 30, true},
        {" 7 ", true, 7, true, 7, true},
        {"+4", true, 4, true, 4, true},
        {"-12.25", true, -12.25, false, 0, false},
        {"-3", true, -3, true, -3, false},
        {".5", true, 0.5, false, 0, false},
        {"1e3", true, 1000, false, 0, false},
        {"2147483647", true, 2147483647.0, true, 2147483647, true},
        {"2147483648", true, 2147483648.0, false, 0, true},
        {"4294967296", true, 4294967296.0, false, 0, false},
        {"", false, 0, false, 0, false},
        {"-", false, 0, false, 0, false},
        {"+-1", false, 0, false, 0, false},
        {"++1", false, 0, false, 0, false},
        {"+", false, 0, false, 0, false},
        {"1,5", false, 0, false, 0, false},
        {"12abc", false, 0, false, 0, false},
        {"1 2", false, 0, false, 0, false},
        {"inf", false, 0, false, 0, false},
        {"nan", false, 0, false, 0, false},
        {"0x10", false, 0, false, 0, false},
        {"1e999", false, 0, false, 0, false},
        {"1e", false, 0, false, 0, false},
    };
    for (const auto& c : cases) {
        double number = -99;
        int32_t whole = -99;
        uint32_t unsignedWhole = 99;
        EXPECT_EQ(toolkit::parseNumber(c.text, &number), c.number ? 1 : 0) << c.text;
        if (c.number) {
            EXPECT_EQ(number, c.asNumber) << c.text;
        } else {
            EXPECT_EQ(number, -99) << "a refused text leaves the field: " << c.text;
        }
        EXPECT_EQ(toolkit::parseNumber(c.text, &whole), c.whole ? 1 : 0) << c.text;
        if (c.whole) {
            EXPECT_EQ(whole, c.asWhole) << c.text;
        }
        EXPECT_EQ(toolkit::parseNumber(c.text, &unsignedWhole), c.unsignedWhole ? 1 : 0) << c.text;
    }
}

TEST(DialogNumbersTest, ShortestTextReadsBackTheSameValue) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{30, "30"}, {0.5, "0.5"}, {-12.25, "-12.25"},
                 {0, "0"},   {0.1, "0.1"}, {1.0 / 3, "0.3333333333333333"}};
    for (const auto& c : cases) {
        EXPECT_EQ(toolkit::numberText(c.value), c.text);
        double back = 0;
        ASSERT_EQ(toolkit::parseNumber(toolkit::numberText(c.value).c_str(), &back), 1);
        EXPECT_EQ(back, c.value);
    }
    // A float widened to a double shows all of its digits and reads back exactly.
    double widened = static_cast<float>(5.21);
    double back = 0;
    ASSERT_EQ(toolkit::parseNumber(toolkit::numberText(widened).c_str(), &back), 1);
    EXPECT_EQ(static_cast<float>(back), static_cast<float>(5.21));
}

}  // namespace
