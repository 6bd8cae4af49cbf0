#include "common/date_axis.h"

#include <cmath>
#include <cstdio>

#include "common/format.h"

namespace qf {
namespace {

bool isLeap(long long y) {
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

int daysInMonth(long long y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the
// era-based algorithms of H. Hinnant's "chrono-Compatible Low-Level Date
// Algorithms").
long long daysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, long long& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

class Scanner {
public:
    explicit Scanner(std::string_view s) : s_(s) {}
    bool done() const { return at_ == s_.size(); }
    char peek() const { return done() ? '\0' : s_[at_]; }
    bool take(char c) {
        if (peek() != c) return false;
        ++at_;
        return true;
    }
    // Exactly n decimal digits.
    bool digits(int n, int& out) {
        out = 0;
        for (int i = 0; i < n; ++i) {
            const char c = peek();
            if (c < '0' || c > '9') return false;
            out = out * 10 + (c - '0');
            ++at_;
        }
        return true;
    }
    // One or more digits after a decimal mark, as a fraction.
    bool fraction(double& out) {
        out = 0;
        double scale = 0.1;
        const std::size_t from = at_;
        for (char c; (c = peek()) >= '0' && c <= '9'; ++at_, scale /= 10) out += (c - '0') * scale;
        return at_ > from;
    }
    void skipBlanks() {
        while (peek() == ' ' || peek() == '\t') ++at_;
    }

private:
    std::string_view s_;
    std::size_t at_ = 0;
};

// The zone's offset east of UTC in seconds: "Z", "+hh:mm", "+hhmm", "+hh".
bool zoneOffset(Scanner& in, int& offset) {
    offset = 0;
    if (in.take('Z') || in.take('z')) return true;
    const char sign = in.peek();
    if (sign != '+' && sign != '-') return false;
    in.take(sign);
    int hh = 0, mm = 0;
    if (!in.digits(2, hh) || hh > 23) return false;
    if (in.take(':')) {
        if (!in.digits(2, mm)) return false;
    } else if (!in.done() && !in.digits(2, mm)) {
        return false;
    }
    if (mm > 59) return false;
    offset = (sign == '-' ? -1 : 1) * (hh * 3600 + mm * 60);
    return true;
}

}  // namespace

double secondsOfCivil(int year, int month, int day, int hour, int minute, double second) {
    return double(daysFromCivil(year, month, day)) * kSecondsPerDay + hour * 3600.0 +
           minute * 60.0 + second;
}

std::optional<double> parseIsoDateTime(std::string_view text) {
    Scanner in(text);
    in.skipBlanks();
    int y = 0, mo = 0, d = 0;
    if (!in.digits(4, y) || !in.take('-') || !in.digits(2, mo) || mo < 1 || mo > 12 ||
        !in.take('-') || !in.digits(2, d) || d < 1 || d > daysInMonth(y, mo))
        return std::nullopt;
    int h = 0, mi = 0, s = 0, offset = 0;
    double fraction = 0;
    const bool timeMark = in.take('T') || in.take('t');
    if (!timeMark) in.skipBlanks();
    if (timeMark || !in.done()) {
        if (!in.digits(2, h) || h > 23 || !in.take(':') || !in.digits(2, mi) || mi > 59)
            return std::nullopt;
        if (in.take(':')) {
            if (!in.digits(2, s) || s > 59) return std::nullopt;
            if ((in.take('.') || in.take(',')) && !in.fraction(fraction)) return std::nullopt;
        }
        if (!in.done() && in.peek() != ' ' && !zoneOffset(in, offset)) return std::nullopt;
    }
    in.skipBlanks();
    if (!in.done()) return std::nullopt;
    return secondsOfCivil(y, mo, d, h, mi, s + fraction) - offset;
}

std::string formatIsoDateTime(double seconds) {
    static const double kFirst = secondsOfCivil(0, 1, 1);
    static const double kEnd = secondsOfCivil(10000, 1, 1);
    if (!std::isfinite(seconds) || seconds < kFirst || seconds >= kEnd - 0.0005)
        return formatG(seconds);
    const long long ms = std::llround(seconds * 1000.0);
    constexpr long long kMsPerDay = 86400000;
    long long days = ms / kMsPerDay;
    long long inDay = ms % kMsPerDay;
    if (inDay < 0) inDay += kMsPerDay, --days;
    long long y = 0;
    int m = 0, d = 0;
    civilFromDays(days, y, m, d);
    const int hh = int(inDay / 3600000), mm = int(inDay / 60000 % 60), ss = int(inDay / 1000 % 60);
    const int milli = int(inDay % 1000);
    char buffer[40];
    if (milli == 0)
        std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02dT%02d:%02d:%02dZ", y, m, d, hh, mm,
                      ss);
    else
        std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02dT%02d:%02d:%02d.%03dZ", y, m, d, hh,
                      mm, ss, milli);
    return buffer;
}

std::string formatIsoDateShort(double seconds) {
    std::string text = formatIsoDateTime(seconds);
    if (text.size() == 20 && text.ends_with("T00:00:00Z")) text.resize(10);
    return text;
}

std::string formatAxisValue(double value, bool time) {
    return time ? formatIsoDateTime(value) : formatG(value);
}

std::string formatAxisEnd(double value, bool time) {
    return time ? formatIsoDateShort(value) : formatG(value);
}

}  // namespace qf
