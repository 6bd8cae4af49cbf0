#pragma once
// Dates typed into the settings in the locale's own short form ("3/10/24
// 2:30 PM", "2024/03/10", "10.03.24"), beside the ISO 8601 texts the core
// reads.

#include <QLocale>
#include <QString>
#include <optional>

namespace qf {

// Seconds since the epoch of a date, or a date and time, in the locale's
// short format, taken in the system's time zone (as the user's clock shows
// it, daylight saving time included). Two-digit years are 1969 to 2068.
// None when the text is in no such form, or names a local time that a
// change of the clocks skips.
std::optional<double> parseLocaleDateTime(const QString& text, const QLocale& locale);

// A date axis's typed value as the ISO 8601 text the settings store: an ISO
// text as it is, a locale text converted; other texts as they are (the
// settings refuse them).
QString dateTextForSettings(const QString& text, const QLocale& locale);

}  // namespace qf
