#include "ui/date_text.h"

#include <gtest/gtest.h>

#include "../support/time_zone.h"
#include "common/date_axis.h"

namespace qf {
namespace {

// Dates typed in the locale's short form are the user's clock: Berlin's
// here, whose clocks go forward from 02:00 to 03:00 on 2024-03-31.
TEST(DateText, LocaleFormsAreReadInTheSystemsTimeZone) {
    const test::ScopedTimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    const QLocale ja(QLocale::Japanese, QLocale::Japan);
    struct Case {
        const QLocale& locale;
        const char* text;
        const char* iso;  // null: refused
    };
    const Case cases[] = {
        {us, "2/29/24", "2024-02-28T23:00:00Z"},  // winter: UTC+1
        {us, "2/29/2024", "2024-02-28T23:00:00Z"},
        {us, "3/31/24 4:15 PM", "2024-03-31T14:15:00Z"},  // summer: UTC+2
        {us, "3/31/24 16:15", "2024-03-31T14:15:00Z"},
        {us, " 3/31/24  1:59 AM ", "2024-03-31T00:59:00Z"},  // the last minute of winter time
        {us, "3/31/24 2:30 AM", nullptr},                    // skipped by the clocks
        {us, "12/31/68", "2068-12-30T23:00:00Z"},            // two-digit years: 1969 to 2068
        {us, "1/1/69", "1968-12-31T23:00:00Z"},
        {us, "2/29/23", nullptr},
        {us, "29/2/24", nullptr},
        {de, "29.02.24", "2024-02-28T23:00:00Z"},
        {de, "31.03.24 03:30", "2024-03-31T01:30:00Z"},
        {de, "31.03.2024 12:00:30", "2024-03-31T10:00:30Z"},
        {gb, "29/02/2024", "2024-02-28T23:00:00Z"},
        {ja, "2024/02/29", "2024-02-28T23:00:00Z"},
        {ja, "2024/03/31 13:00", "2024-03-31T11:00:00Z"},
        {ja, "", nullptr},
        {ja, "きのう", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " \"" + c.text + "\"");
        const std::optional<double> at = parseLocaleDateTime(QString::fromUtf8(c.text), c.locale);
        ASSERT_EQ(at.has_value(), c.iso != nullptr);
        if (at) {
            EXPECT_EQ(formatIsoDateTime(*at), c.iso);
        }
    }
}

// What the settings store: ISO texts as typed (UTC without a zone, on every
// machine), locale texts as the instant they name.
TEST(DateText, SettingsGetIsoTexts) {
    const test::ScopedTimeZone newYork("EST5EDT,M3.2.0,M11.1.0");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(dateTextForSettings("2024-03-10 02:30", us), "2024-03-10 02:30");
    EXPECT_EQ(dateTextForSettings("3/10/24 3:30 AM", us), "2024-03-10T07:30:00Z");
    EXPECT_EQ(dateTextForSettings("3/9/24 3:30 AM", us), "2024-03-09T08:30:00Z");
    EXPECT_EQ(dateTextForSettings("soon", us), "soon");
}

}  // namespace
}  // namespace qf
