#include "common/date_axis.h"

#include <gtest/gtest.h>

#include <optional>

namespace qf {
namespace {

// 2024-02-28T00:00:00Z, counted by hand: 19781 days after 1970-01-01.
constexpr double kFeb28 = 19781 * 86400.0;

TEST(DateAxis, ParsesTheIsoFormsPeopleType) {
    struct Case {
        const char* text;
        std::optional<double> seconds;
    };
    const double h = 3600;
    const Case cases[] = {
        {"2024-02-28", kFeb28},
        {"  2024-02-28  ", kFeb28},
        {"2024-02-28T13:45", kFeb28 + 13 * h + 45 * 60},
        {"2024-02-28t13:45", kFeb28 + 13 * h + 45 * 60},
        {"2024-02-28 13:45:00", kFeb28 + 13 * h + 45 * 60},
        {"2024-02-28T13:45:07.25", kFeb28 + 13 * h + 45 * 60 + 7.25},
        {"2024-02-28T13:45:07,5", kFeb28 + 13 * h + 45 * 60 + 7.5},
        {"2024-02-28T13:45Z", kFeb28 + 13 * h + 45 * 60},
        {"2024-02-28T13:45:00+01:00", kFeb28 + 12 * h + 45 * 60},
        {"2024-02-28T13:45:00+0100", kFeb28 + 12 * h + 45 * 60},
        {"2024-02-28T13:45-05", kFeb28 + 18 * h + 45 * 60},
        {"2024-02-28T00:30+05:30", kFeb28 - 5 * h},  // the day before in UTC
        {"2024-02-29", kFeb28 + 86400},              // leap day
        {"2024-03-01", kFeb28 + 2 * 86400},
        {"2000-02-29", 11016 * 86400.0},  // divisible by 400: a leap year
        {"1970-01-01", 0.0},
        {"1969-12-31T23:59:59Z", -1.0},
        // Refused: impossible dates and times, other shapes, trailing text.
        {"2023-02-29", std::nullopt},
        {"1900-02-29", std::nullopt},
        {"2024-04-31", std::nullopt},
        {"2024-13-01", std::nullopt},
        {"2024-00-10", std::nullopt},
        {"2024-02-28T24:00", std::nullopt},
        {"2024-02-28T12:60", std::nullopt},
        {"2024-02-28T12", std::nullopt},
        {"2024-02-28T", std::nullopt},
        {"2024-02-28T12:00:00.", std::nullopt},
        {"2024-02-28T12:00+1", std::nullopt},
        {"2024-02-28T12:00+01:75", std::nullopt},
        {"2024-2-28", std::nullopt},
        {"24-02-28", std::nullopt},
        {"2024/02/28", std::nullopt},
        {"2024-02-28x", std::nullopt},
        {"2024-02-28 noon", std::nullopt},
        {"1.7E+009", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> got = parseIsoDateTime(c.text);
        ASSERT_EQ(got.has_value(), c.seconds.has_value());
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *c.seconds);
        }
    }
}

TEST(DateAxis, WritesUtcWithSecondsOrMilliseconds) {
    struct Case {
        double seconds;
        const char* text;
    };
    const Case cases[] = {
        {kFeb28 + 86400 + 12 * 3600, "2024-02-29T12:00:00Z"},
        {kFeb28 + 0.25, "2024-02-28T00:00:00.250Z"},
        {kFeb28 + 0.0004, "2024-02-28T00:00:00Z"},  // rounded to the millisecond
        {kFeb28 - 0.0006, "2024-02-27T23:59:59.999Z"},
        {kFeb28 + 59.9996, "2024-02-28T00:01:00Z"},  // the carry reaches the minute
        {-0.5, "1969-12-31T23:59:59.500Z"},
        {secondsOfCivil(0, 1, 1), "0000-01-01T00:00:00Z"},
        {secondsOfCivil(9999, 12, 31, 23, 59, 59), "9999-12-31T23:59:59Z"},
        // No instant of a four-digit year: a number, as on other axes.
        {secondsOfCivil(10000, 1, 1), "2.53402E+011"},
        {1e300, "1E+300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatIsoDateTime(c.seconds), c.text);
    }
}

TEST(DateAxis, AxisEndsAtMidnightAreWrittenAsTheDateAlone) {
    EXPECT_EQ(formatAxisEnd(kFeb28 + 86400, true), "2024-02-29");
    EXPECT_EQ(formatAxisEnd(kFeb28 + 86400 + 0.0004, true), "2024-02-29");
    EXPECT_EQ(formatAxisEnd(kFeb28 + 86400 + 1, true), "2024-02-29T00:00:01Z");
    EXPECT_EQ(formatAxisEnd(kFeb28 + 0.5, true), "2024-02-28T00:00:00.500Z");
    EXPECT_EQ(formatAxisEnd(1e300, true), "1E+300");
    EXPECT_EQ(formatAxisEnd(kFeb28, false), "1.70908E+009");
    EXPECT_EQ(parseIsoDateTime(formatAxisEnd(kFeb28, true)), kFeb28);
}

TEST(DateAxis, WrittenTextsReadBackAsTheSameMillisecond) {
    for (double s :
         {0.0, kFeb28 + 86400 + 0.001, kFeb28 - 1234567.891, 253402300799.0, -62167219200.0}) {
        const std::optional<double> back = parseIsoDateTime(formatIsoDateTime(s));
        ASSERT_TRUE(back) << formatIsoDateTime(s);
        EXPECT_NEAR(*back, s, 0.0005) << formatIsoDateTime(s);
    }
}

}  // namespace
}  // namespace qf
