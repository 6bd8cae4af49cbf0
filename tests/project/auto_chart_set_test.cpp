// Pictures read by themselves into projects, over both committed chart sets
// (tests/data/reading: charts.json; tests/data/extraction: series.json),
// measured against the truth their drawing scripts wrote: most series come
// out with every point within 1 % of the axis range of the function drawn,
// nothing else is taken for a series, and no picture is read with a wrong
// calibration without saying so.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "points/calibration.h"
#include "project/auto_chart.h"
#include "reading/ocr_engine.h"

namespace qf {
namespace {

const std::string kData = std::string(QF_SOURCE_DIR) + "/tests/data/";
constexpr double kMostError = 0.01;  // of the axis range, for every point
constexpr double kLeastCover = 0.9;  // of the X extent where the series is visible

// One axis of the truth: its range, scale and the pixels its ends were
// drawn at (the axis rectangle's edges on a straight chart).
struct TrueAxis {
    double min, max;
    bool log;
    double unit(double v) const {
        return log ? (std::log10(v) - std::log10(min)) / (std::log10(max) - std::log10(min))
                   : (v - min) / (max - min);
    }
};

// A chart of either set as the test needs it.
struct Truth {
    std::string file;
    bool photographed = false;
    // The most a calibration accepted may be off at the axes' ends, as a
    // share of the range: photographs are straightened through corners found
    // to a fraction of a pixel and blurred by JPEG; the extraction set gives
    // its axis rectangle to the whole pixel only (matplotlib snaps its frame
    // there, gnuplot's lies up to a pixel off the rectangle it was given).
    double tolerance = 0.002;
    TrueAxis x, y;
    double xPixelMin, xPixelMax, yPixelMin, yPixelMax;  // where the ends lie on the picture
    struct Drawn {
        std::vector<cv::Point2d> curve;  // in the unit square of the axes
        double from = 0, to = 1;         // where it is visible, across
    };
    std::vector<Drawn> series;
};

std::vector<Truth> readingSet() {
    std::ifstream in(kData + "reading/charts.json");
    std::vector<Truth> out;
    for (const nlohmann::json& c : nlohmann::json::parse(in)) {
        Truth t;
        t.file = "reading/" + c["file"].get<std::string>();
        t.photographed = c.value("photographed", false);
        t.tolerance = t.photographed ? 0.005 : 0.002;
        t.x = {c["x"]["min"], c["x"]["max"], c["x"]["log"]};
        t.y = {c["y"]["min"], c["y"]["max"], c["y"]["log"]};
        t.xPixelMin = c["x"]["pixelMin"], t.xPixelMax = c["x"]["pixelMax"];
        t.yPixelMin = c["y"]["pixelMin"], t.yPixelMax = c["y"]["pixelMax"];
        for (const nlohmann::json& s : c["series"]) {
            Truth::Drawn d;
            for (const auto& p : s["curve"]) d.curve.push_back({p[0], p[1]});
            t.series.push_back(std::move(d));
        }
        out.push_back(std::move(t));
    }
    return out;
}

std::vector<Truth> extractionSet() {
    std::ifstream in(kData + "extraction/series.json");
    std::vector<Truth> out;
    for (const nlohmann::json& c : nlohmann::json::parse(in)) {
        Truth t;
        t.file = "extraction/" + c["file"].get<std::string>();
        // A photographed page's truth is its frame, whose edges carry the range.
        t.photographed = c.contains("photo");
        t.tolerance = 0.005;
        t.x = {c["xMin"], c["xMax"], c["xLog"]};
        t.y = {c["yMin"], c["yMax"], c["yLog"]};
        t.xPixelMin = c["axisRect"][0], t.xPixelMax = c["axisRect"][2];
        t.yPixelMin = c["axisRect"][3], t.yPixelMax = c["axisRect"][1];
        for (const nlohmann::json& s : c["series"]) {
            Truth::Drawn d;
            for (const auto& p : s["samples"]) d.curve.push_back({t.x.unit(p[0]), t.y.unit(p[1])});
            d.from = t.x.unit(s["visible"][0]), d.to = t.x.unit(s["visible"][1]);
            if (d.from > d.to) std::swap(d.from, d.to);
            t.series.push_back(std::move(d));
        }
        out.push_back(std::move(t));
    }
    return out;
}

double toPolyline(const cv::Point2d& p, const std::vector<cv::Point2d>& line) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < line.size(); ++i) {
        const cv::Point2d a = line[i - 1], ab = line[i] - a;
        const double len = ab.dot(ab);
        const double t = len > 0 ? std::clamp((p - a).dot(ab) / len, 0.0, 1.0) : 0.0;
        best = std::min(best, cv::norm(p - (a + t * ab)));
    }
    return best;
}

struct Score {
    double worst = INFINITY;  // the farthest point from the function, share of the axis range
    double cover = 0;         // share of the visible extent
    bool right() const { return worst <= kMostError && cover >= kLeastCover; }
};

// A series' points as the project gives them (its calibration), in the
// truth's unit square.
Score score(const Truth& t, const Truth::Drawn& d, const AxisSettings& axis,
            const std::vector<SourcePoint>& points) {
    Score s;
    if (points.empty()) return s;
    s.worst = 0;
    double lo = INFINITY, hi = -INFINITY;
    for (const SourcePoint& p : points) {
        const std::optional<double> x = calibrateX(axis, p.h), y = calibrateY(axis, p.v);
        if (!x || !y) return {};
        const cv::Point2d u{t.x.unit(*x), t.y.unit(*y)};
        s.worst = std::max(s.worst, toPolyline(u, d.curve));
        lo = std::min(lo, u.x), hi = std::max(hi, u.x);
    }
    s.cover = std::max(0.0, std::min(hi, d.to) - std::max(lo, d.from)) / (d.to - d.from);
    return s;
}

// How far the calibration is from the truth at the axes' ends, as a share
// of each range. A photograph's record maps its frame onto the axis
// rectangle, whose edges carry the frame's values.
double calibrationError(const Truth& t, const DocumentRecord& r) {
    const AxisSettings& a = r.axis;
    if (a.xLog != t.x.log || a.yLog != t.y.log) return INFINITY;
    double x0 = a.xMin, x1 = a.xMax, y0 = a.yMin, y1 = a.yMax;
    if (!t.photographed) {
        const auto at = [](auto f, double pixel) {
            // Between the two whole pixels around it.
            const int lo = int(std::floor(pixel));
            const std::optional<double> a = f(lo), b = f(lo + 1);
            return a && b ? *a + (pixel - lo) * (*b - *a) : NAN;
        };
        const auto fx = [&](int h) { return calibrateX(a, h); };
        const auto fy = [&](int v) { return calibrateY(a, v); };
        x0 = at(fx, t.xPixelMin), x1 = at(fx, t.xPixelMax);
        y0 = at(fy, t.yPixelMin), y1 = at(fy, t.yPixelMax);
    }
    const double e = std::max({std::abs(t.x.unit(x0)), std::abs(t.x.unit(x1) - 1),
                               std::abs(t.y.unit(y0)), std::abs(t.y.unit(y1) - 1)});
    return std::isfinite(e) ? e : INFINITY;
}

TEST(AutoChartSet, SeriesFollowTheirFunctionsAndNoCalibrationIsWrongUnsaid) {
    std::string why;
    if (!ocrAvailable(&why)) GTEST_SKIP() << "text recognition is not available: " << why;
    std::vector<Truth> charts = readingSet();
    for (Truth& t : extractionSet()) charts.push_back(std::move(t));

    int drawn = 0, right = 0, read = 0, refused = 0, wrong = 0;
    for (const Truth& t : charts) {
        const AutoChart a = readChart(kData + t.file, {});
        drawn += int(t.series.size());
        if (!a.ok) {
            ++refused;
            ASSERT_FALSE(a.refusal.empty()) << t.file << ": refused without a reason";
            std::printf("%-36s refused: %s\n", t.file.c_str(), a.refusal.front().c_str());
            continue;
        }
        ++read;
        const double error = calibrationError(t, a.record);
        const bool calibrated = error <= t.tolerance;
        wrong += calibrated ? 0 : 1;
        EXPECT_TRUE(calibrated) << t.file << ": a wrong calibration passed, off by " << 100 * error
                                << " % of the axis range";
        EXPECT_EQ(a.photographed, t.photographed) << t.file;

        // Each drawn function takes the series found nearest it.
        std::string line;
        std::vector<char> taken(a.record.series.size(), 0);
        for (const Truth::Drawn& d : t.series) {
            int best = -1;
            Score bestScore;
            for (std::size_t i = 0; i < a.record.series.size(); ++i) {
                const Score s = score(t, d, a.record.axis, a.record.series[i].points);
                if (!taken[i] && (best < 0 || s.worst < bestScore.worst))
                    best = int(i), bestScore = s;
            }
            if (best >= 0 && std::isfinite(bestScore.worst)) taken[std::size_t(best)] = 1;
            right += bestScore.right() ? 1 : 0;
            char text[96];
            std::snprintf(text, sizeof text, " %s %.2f%%/%.0f%%",
                          best >= 0 ? a.record.series[std::size_t(best)].name.c_str() : "-",
                          100 * std::min(bestScore.worst, 9.99), 100 * bestScore.cover);
            line += text;
            if (!bestScore.right()) line += "!";
        }
        // Nothing else was taken for a series: no frame, grid, legend or text.
        for (std::size_t i = 0; i < taken.size(); ++i)
            EXPECT_TRUE(taken[i] || a.record.series[i].points.empty())
                << t.file << ": an extra series " << a.record.series[i].name;
        std::printf("%-36s %s calibration %.3f%%, %zu found:%s\n", t.file.c_str(),
                    a.photographed ? "photo   " : "straight", 100 * error,
                    a.record.series[0].points.empty() ? 0 : a.record.series.size(), line.c_str());
    }
    std::printf("%d pictures: %d read, %d refused, %d wrong; %d of %d series right (%.1f %%)\n",
                int(charts.size()), read, refused, wrong, right, drawn, 100.0 * right / drawn);
    EXPECT_EQ(wrong, 0);
    EXPECT_GE(right, std::ceil(0.9 * drawn));
}

}  // namespace
}  // namespace qf
