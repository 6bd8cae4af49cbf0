// Tick-label texts as charts print them and recognition returns them.

#include "reading/label_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>

namespace qf {
namespace {

struct Case {
    const char* text;
    std::optional<double> value;
    bool factorOnly = false;
};

TEST(LabelText, ValuesOfPrintedLabels) {
    const Case cases[] = {
        {"0", 0.0},
        {"42", 42.0},
        {"-2.5", -2.5},
        {"\u22122.5", -2.5},  // Unicode minus
        {"\u20132", -2.0},    // an en dash, as recognition often returns a minus
        {"+3", 3.0},
        {"0.05", 0.05},
        {"1,000", 1000.0},  // thousands separator
        {"-12,500,000", -12.5e6},
        {"1,000.5", 1000.5},
        {"0,5", 0.5},  // decimal comma
        {"2,25", 2.25},
        {"50%", 50.0},
        {"1e3", 1000.0},
        {"1E-04", 1e-4},
        {"2.5e+6", 2.5e6},
        {"1.5\u00d710^3", 1500.0},  // × with the exponent read apart
        {"1.5x10^3", 1500.0},
        {"1.5\u00d710\u00b3", 1500.0},  // superscript digits
        {"10^2", 100.0},
        {"10^-2", 0.01},
        {"10\u207b\u00b2", 0.01},
        {"10^\u22123", 0.001},
        {"-10^2", -100.0},
        {"\u00d710^4", 1e4, true},  // the axis's multiplier
        {"x10^-5", 1e-5, true},
        {"O.5", 0.5},  // letter O for a zero
        {"l0", 10.0},
        {"1 000", 1000.0},
        // Not one number.
        {"", std::nullopt},
        {"05", std::nullopt},  // a decimal point lost: would read ten times too large
        {"1..5", std::nullopt},
        {"1.", std::nullopt},
        {".5", std::nullopt},
        {"5-", std::nullopt},
        {"--5", std::nullopt},
        {"1,00", 1.0},  // a comma not before three digits is a decimal comma
        {"1e", std::nullopt},
        {"10^", std::nullopt},
        {"\u00d710", std::nullopt},
        {"abc", std::nullopt},
        {"1%%", std::nullopt},
        {"1e999", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<LabelValue> v = parseLabelText(c.text);
        ASSERT_EQ(v.has_value(), c.value.has_value()) << '"' << c.text << '"';
        if (!v) continue;
        EXPECT_DOUBLE_EQ(v->value, *c.value) << '"' << c.text << '"';
        EXPECT_EQ(v->factorOnly, c.factorOnly) << '"' << c.text << '"';
    }
}

// Numbers are read the same whatever the user's locale says a decimal point is.
TEST(LabelText, DecimalPointDoesNotFollowTheLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    const std::optional<LabelValue> v = parseLabelText("2.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_TRUE(v);
    EXPECT_DOUBLE_EQ(v->value, 2.5);
}

}  // namespace
}  // namespace qf
