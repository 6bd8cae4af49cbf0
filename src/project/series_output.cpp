#include "project/series_output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <set>

#include "common/result_set.h"
#include "points/calibration.h"

namespace qf {
namespace {

// Long enough for any name people give a curve, short enough that the
// folder and a file in it stay far below the 255 bytes a name may have.
constexpr std::size_t kMaxFolderBytes = 120;

// The length of the UTF-8 sequence starting at s[i], or 0 when it is not a
// well-formed one (stray or cut bytes, overlong forms, surrogates).
std::size_t utf8Length(const std::string& s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t n = c < 0x80             ? 1
                    : (c & 0xE0) == 0xC0 ? 2
                    : (c & 0xF0) == 0xE0 ? 3
                    : (c & 0xF8) == 0xF0 ? 4
                                         : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    if (n == 2 && c < 0xC2) return 0;
    if (n == 3 && ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) >= 0xA0))) return 0;
    if (n == 4 && ((c == 0xF0 && b(i + 1) < 0x90) || c > 0xF4 || (c == 0xF4 && b(i + 1) >= 0x90)))
        return 0;
    return n;
}

std::string safeFolderName(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = utf8Length(name, i);
        std::string piece;
        if (n == 0) {
            piece = "_";
            i += 1;
        } else {
            piece = name.substr(i, n);
            i += n;
            // C0 and C1 controls, DEL, and what Windows and macOS refuse.
            const unsigned char c = static_cast<unsigned char>(piece[0]);
            const bool control =
                (n == 1 && (c < 0x20 || c == 0x7F)) ||
                (n == 2 && c == 0xC2 && static_cast<unsigned char>(piece[1]) < 0xA0);
            if (control || (n == 1 && std::string_view("/\\:*?\"<>|").find(piece[0]) !=
                                          std::string_view::npos))
                piece = "_";
        }
        if (out.size() + piece.size() > kMaxFolderBytes) break;
        out += piece;
    }
    // A leading dot hides the folder; trailing dots and blanks vanish on
    // Windows and make two names one.
    const auto first = out.find_first_not_of(". ");
    if (first == std::string::npos) return {};
    out.erase(0, first);
    while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
    return out;
}

std::string foldedCase(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

bool namesResultFile(const std::string& folded) {
    for (const char* n : kResultSetNames)
        if (folded == foldedCase(n)) return true;
    for (const char* n : kSeriesSetNames)
        if (folded == foldedCase(n)) return true;
    return false;
}

// The shortest text that reads back as the same double, in the C locale.
std::string exactNumber(double v) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
}

// A CSV field: quoted when it holds a separator, a quote, a line end or
// blanks at its ends that a reader would trim.
std::string csvField(const std::string& text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// A series' points by X, one per X (the mean of those sharing it, in the
// axis's own scale), for interpolation.
struct Curve {
    std::vector<double> x, y;
};

Curve curveOf(const SeriesValues& s, bool yLog) {
    struct Sum {
        double first = 0, sum = 0;
        int count = 0;
    };
    std::map<double, Sum> byX;
    for (std::size_t i = 0; i < s.x.size(); ++i) {
        Sum& at = byX[s.x[i]];
        if (at.count++ == 0) at.first = s.y[i];
        at.sum += yLog ? std::log10(s.y[i]) : s.y[i];
    }
    Curve c;
    for (const auto& [x, at] : byX) {
        c.x.push_back(x);
        // A point alone keeps its value exactly.
        const double mean = at.sum / at.count;
        c.y.push_back(at.count == 1 ? at.first : yLog ? std::pow(10.0, mean) : mean);
    }
    return c;
}

// Y of the curve at x; none outside its X range.
std::optional<double> yAt(const Curve& c, double x, bool xLog, bool yLog) {
    if (c.x.empty() || x < c.x.front() || x > c.x.back()) return std::nullopt;
    const auto it = std::lower_bound(c.x.begin(), c.x.end(), x);
    const std::size_t hi = std::size_t(it - c.x.begin());
    if (*it == x) return c.y[hi];
    const std::size_t lo = hi - 1;
    const auto scaleX = [xLog](double v) { return xLog ? std::log10(v) : v; };
    const double t = (scaleX(x) - scaleX(c.x[lo])) / (scaleX(c.x[hi]) - scaleX(c.x[lo]));
    if (yLog) {
        const double a = std::log10(c.y[lo]), b = std::log10(c.y[hi]);
        return std::pow(10.0, a + t * (b - a));
    }
    return c.y[lo] + t * (c.y[hi] - c.y[lo]);
}

}  // namespace

std::vector<std::string> seriesFolderNames(const std::vector<Series>& series) {
    std::vector<std::string> names;
    std::set<std::string> taken;  // folded
    for (std::size_t i = 0; i < series.size(); ++i) {
        std::string base = safeFolderName(series[i].name);
        if (base.empty() || namesResultFile(foldedCase(base)))
            base = "series-" + std::to_string(i + 1);
        std::string name = base;
        for (int n = 2; taken.contains(foldedCase(name)); ++n)
            name = base + "-" + std::to_string(n);
        taken.insert(foldedCase(name));
        names.push_back(std::move(name));
    }
    return names;
}

std::string seriesLabel(const Series& series, std::size_t index) {
    return series.name.empty() ? "series-" + std::to_string(index + 1) : series.name;
}

SeriesValues seriesValuesOf(const std::string& label, const std::vector<SourcePoint>& points,
                            const AxisSettings& axis) {
    SeriesValues s;
    s.label = label;
    for (const SourcePoint& p : points) {
        const auto x = calibrateX(axis, p.h);
        const auto y = calibrateY(axis, p.v);
        if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) continue;
        s.x.push_back(*x);
        s.y.push_back(*y);
    }
    return s;
}

std::string seriesLongCsvText(const std::vector<SeriesValues>& series) {
    std::string text = "series,x,y\r\n";
    for (const SeriesValues& s : series) {
        const std::string label = csvField(s.label);
        for (std::size_t i = 0; i < s.x.size(); ++i)
            text += label + "," + exactNumber(s.x[i]) + "," + exactNumber(s.y[i]) + "\r\n";
    }
    return text;
}

std::string seriesWideCsvText(const std::vector<SeriesValues>& series, const AxisSettings& axis) {
    // A log axis's values are all positive (the calibration gives no other),
    // so their logarithms exist.
    std::vector<Curve> curves;
    std::set<double> grid;
    std::string text = "x";
    for (const SeriesValues& s : series) {
        curves.push_back(curveOf(s, axis.yLog));
        grid.insert(s.x.begin(), s.x.end());
        text += "," + csvField(s.label);
    }
    text += "\r\n";
    for (double x : grid) {
        text += exactNumber(x);
        for (const Curve& c : curves) {
            text += ",";
            if (const auto y = yAt(c, x, axis.xLog, axis.yLog)) text += exactNumber(*y);
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace qf
