#pragma once
// Dates on an axis. A date axis keeps its values in the ordinary doubles of
// the axis settings, as seconds since 1970-01-01T00:00:00Z (Unix time: UTC,
// no leap seconds), so calibration and mapping treat it as any linear axis.
// Instants are absolute: a change of daylight saving time or a leap day
// needs no care beyond the parsing of typed texts.

#include <optional>
#include <string>
#include <string_view>

namespace qf {

inline constexpr double kSecondsPerDay = 86400.0;

// An ISO 8601 date or date-time: "2024-02-28", "2024-02-28T13:45",
// "2024-02-28 13:45:00", seconds with a fraction ("13:45:00.250", also with a
// comma), and a zone "Z", "+01:00", "+0100" or "+01". A text without a zone
// is UTC, so that a project reads the same on every machine. Blanks around
// it are allowed; none for anything else (an impossible date such as
// 2023-02-29 included). Years 0000 to 9999.
std::optional<double> parseIsoDateTime(std::string_view text);

// "2024-02-29T12:00:00Z", or "2024-02-29T12:00:00.250Z" when the value,
// rounded to the millisecond, is not a whole second. Values that are no
// instant of years 0000 to 9999 are written as numbers ("%G").
std::string formatIsoDateTime(double seconds);

// As formatIsoDateTime, but a midnight in UTC as the date alone
// ("2024-02-29"), for the narrow places that show an axis's ends: the
// settings pane and the graphs' labels. It reads back as the same instant.
std::string formatIsoDateShort(double seconds);

// A value as the point list and the files write it: ISO 8601 on a date axis,
// "%G" otherwise.
std::string formatAxisValue(double value, bool time);

// An axis's end as the settings pane and the graphs' labels show it:
// formatIsoDateShort on a date axis, "%G" otherwise.
std::string formatAxisEnd(double value, bool time);

// Seconds since the epoch of a civil date and time in UTC; the date is not
// checked.
double secondsOfCivil(int year, int month, int day, int hour = 0, int minute = 0,
                      double second = 0.0);

}  // namespace qf
