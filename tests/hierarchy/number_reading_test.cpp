#include "hierarchy/number_reading.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <string>

namespace {

TEST(NumberTextTest, ReadsTheDecimalNumberATokenBeginsWith) {
    EXPECT_EQ(readNumber("12.5"), 12.5);
    EXPECT_EQ(readNumber("-3.25"), -3.25);
    EXPECT_EQ(readNumber("+2"), 2.0);
    EXPECT_EQ(readNumber(".5"), 0.5);
    EXPECT_EQ(readNumber("5."), 5.0);
    EXPECT_EQ(readNumber("-.5"), -0.5);
    EXPECT_EQ(readNumber("1e3"), 1000.0);
    EXPECT_EQ(readNumber("2.5E-1"), 0.25);
    EXPECT_EQ(readNumber("  \t7"), 7.0);
    EXPECT_DOUBLE_EQ(readNumber("0.033333"), 0.033333);
    // The first character that does not fit ends the number.
    EXPECT_EQ(readNumber("12abc"), 12.0);
    EXPECT_EQ(readNumber("1.5.7"), 1.5);
    EXPECT_EQ(readNumber("1e"), 1.0);
    EXPECT_EQ(readNumber("1e+"), 1.0);
    EXPECT_EQ(readNumber("4-2"), 4.0);
}

TEST(NumberTextTest, TextThatBeginsWithNoNumberReadsAsZero) {
    EXPECT_EQ(readNumber("Hips"), 0.0);
    EXPECT_EQ(readNumber(""), 0.0);
    EXPECT_EQ(readNumber("-"), 0.0);
    EXPECT_EQ(readNumber("."), 0.0);
    EXPECT_EQ(readNumber("+-1"), 0.0);
    EXPECT_EQ(readNumber("--1"), 0.0);
    EXPECT_EQ(readNumber("e5"), 0.0);
    EXPECT_EQ(readNumber(nullptr), 0.0);
}

TEST(NumberTextTest, InfinityNanAndHexadecimalFormsGiveNoSpecialValues) {
    for (const char* token :
         {"inf", "-inf", "INF", "infinity", "+Infinity", "nan", "NaN", "-nan", "nan(123)"}) {
        EXPECT_EQ(readNumber(token), 0.0) << token;
    }
    // A hexadecimal number reads as its leading zero, as a decimal reader sees it.
    EXPECT_EQ(readNumber("0x10"), 0.0);
    EXPECT_EQ(readNumber("0x1p3"), 0.0);
    EXPECT_EQ(readNumber("-0X7f"), 0.0);
}

TEST(NumberTextTest, MagnitudesBeyondAFloatStayFinite) {
    EXPECT_EQ(readNumber("1e999"), static_cast<double>(FLT_MAX));
    EXPECT_EQ(readNumber("-1e999"), -static_cast<double>(FLT_MAX));
    EXPECT_EQ(readNumber("1e300"), static_cast<double>(FLT_MAX));
    EXPECT_EQ(readNumber(("1" + std::string(400, '0')).c_str()), static_cast<double>(FLT_MAX));
    EXPECT_EQ(readNumber("1e-999"), 0.0);
    EXPECT_EQ(readNumber(("0." + std::string(400, '0') + "1").c_str()), 0.0);
    EXPECT_EQ(readNumber("1e99999999999999999999"), static_cast<double>(FLT_MAX));
    EXPECT_EQ(readNumber("1e-99999999999999999999"), 0.0);
    EXPECT_TRUE(std::isfinite(static_cast<float>(readNumber("3.5e38"))));
    // Long runs of digits that are in range are still read exactly.
    EXPECT_EQ(readNumber((std::string(300, '0') + "42").c_str()), 42.0);
    EXPECT_EQ(readNumber(("0." + std::string(300, '0') + "1e301").c_str()), 1.0);
}

TEST(NumberTextTest, CountsReadLikeAtoiWithoutOverflowing) {
    EXPECT_EQ(readCount("12"), 12);
    EXPECT_EQ(readCount(" -3"), -3);
    EXPECT_EQ(readCount("+7"), 7);
    EXPECT_EQ(readCount("6.9"), 6);
    EXPECT_EQ(readCount("1e3"), 1);
    EXPECT_EQ(readCount("x12"), 0);
    EXPECT_EQ(readCount(""), 0);
    EXPECT_EQ(readCount(nullptr), 0);
    EXPECT_EQ(readCount("2147483647"), INT_MAX);
    EXPECT_EQ(readCount("2147483648"), INT_MAX);
    EXPECT_EQ(readCount("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(readCount("-2147483648"), INT_MIN);
    EXPECT_EQ(readCount("-99999999999999999999999"), INT_MIN);
}

}  // namespace
