#include "common/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <limits>

namespace qf {
namespace {

struct GCase {
    double value;
    const char* text;
};

TEST(FormatG, MatchesPrintfWithThreeDigitExponent) {
    const double inf = std::numeric_limits<double>::infinity();
    const GCase cases[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {1.0, "1"},
        {0.5, "0.5"},
        {0.1 + 0.2, "0.3"},
        {-0.262323073774029, "-0.262323"},
        {123456.0, "123456"},
        {999999.0, "999999"},
        {999999.5, "1E+006"},
        {1234567.0, "1.23457E+006"},
        {1.5e6, "1.5E+006"},
        {1e24, "1E+024"},
        {-1e24, "-1E+024"},
        {1e100, "1E+100"},
        {0.0001, "0.0001"},
        {0.00012345678, "0.000123457"},
        {1e-5, "1E-005"},
        {1.5e-5, "1.5E-005"},
        {2.5e-5, "2.5E-005"},
        {1e-300, "1E-300"},
        {5e-324, "4.94066E-324"},
        {std::nan(""), "NAN"},
        {inf, "INF"},
        {-inf, "-INF"},
    };
    for (const GCase& c : cases) EXPECT_EQ(formatG(c.value), c.text) << c.text;
}

TEST(FormatG, IgnoresTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    const std::string text = formatG(1234.5) + " " + formatG(1.5e-5);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, "1234.5 1.5E-005");
}

TEST(FormatD, PrintsPlainIntegers) {
    EXPECT_EQ(formatD(0), "0");
    EXPECT_EQ(formatD(-17), "-17");
    EXPECT_EQ(formatD(256), "256");
}

}  // namespace
}  // namespace qf
