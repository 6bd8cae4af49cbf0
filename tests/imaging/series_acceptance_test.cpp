// Charts like the ones people digitise (tools/make_extraction_fixtures.py,
// series.json beside them): every series from one click on it, and every
// series found without a click, lies within 1 % of the axis range of the
// function it was drawn from and covers at least 90 % of the X extent where
// it is visible. With QF_EXTRACTION_RESULTS=folder the extracted points are
// written there (clicks.json, every.json) in axis values for
// tools/extraction_metric.py.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "fit/fit_driver.h"
#include "imaging/curve_extraction.h"
#include "imaging/image_file.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"
#include "imaging/series_finder.h"

namespace qf {
namespace {

const std::string kDir = std::string(QF_SOURCE_DIR) + "/tests/data/extraction/";
constexpr double kMostError = 0.01;  // of the axis range
constexpr double kLeastCover = 0.9;  // of the visible X extent
// The fit of the points, of the axis range: a drawn chart's, and a
// photographed one's, which carries the straightening's own error (the
// corners placed to the pixel, the page's blur and JPEG) on top.
constexpr double kMostFitError = 0.005;
constexpr double kMostPhotoFitError = 0.01;
double mostFitError(const nlohmann::json& c) {
    return c.contains("photo") ? kMostPhotoFitError : kMostFitError;
}

// A chart's axes: pixels to a unit square of axis values (log axes in decades).
struct Axes {
    IntRect rect;
    double xMin, xMax, yMin, yMax;
    bool xLog, yLog;
    explicit Axes(const nlohmann::json& c)
        : rect{c["axisRect"][0], c["axisRect"][1], c["axisRect"][2], c["axisRect"][3]},
          xMin(c["xMin"]),
          xMax(c["xMax"]),
          yMin(c["yMin"]),
          yMax(c["yMax"]),
          xLog(c["xLog"]),
          yLog(c["yLog"]) {}
    static double unit(double v, double lo, double hi, bool log) {
        return log ? (std::log10(v) - std::log10(lo)) / (std::log10(hi) - std::log10(lo))
                   : (v - lo) / (hi - lo);
    }
    cv::Point2d ofValue(double x, double y) const {
        return {unit(x, xMin, xMax, xLog), unit(y, yMin, yMax, yLog)};
    }
    cv::Point2d ofPixel(const SourcePoint& p) const {
        return {double(p.h - rect.left) / (rect.right - rect.left),
                double(rect.bottom - p.v) / (rect.bottom - rect.top)};
    }
    double value(double u, double lo, double hi, bool log) const {
        return log ? std::pow(10.0, std::log10(lo) + u * (std::log10(hi) - std::log10(lo)))
                   : lo + u * (hi - lo);
    }
};

struct Score {
    double worst = 0;  // largest distance to the drawn function, share of the axis range
    double cover = 0;  // share of the visible X extent
};

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

Score score(const Axes& axes, const nlohmann::json& series, const std::vector<SourcePoint>& pts) {
    std::vector<cv::Point2d> drawn;
    for (const auto& s : series["samples"]) drawn.push_back(axes.ofValue(s[0], s[1]));
    const double v0 = Axes::unit(series["visible"][0], axes.xMin, axes.xMax, axes.xLog);
    const double v1 = Axes::unit(series["visible"][1], axes.xMin, axes.xMax, axes.xLog);
    Score s;
    double lo = 1e9, hi = -1e9;
    for (const SourcePoint& p : pts) {
        const cv::Point2d u = axes.ofPixel(p);
        s.worst = std::max(s.worst, toPolyline(u, drawn));
        lo = std::min(lo, u.x), hi = std::max(hi, u.x);
    }
    s.cover = v1 > v0 ? std::max(0.0, std::min(hi, v1) - std::max(lo, v0)) / (v1 - v0) : 0;
    return s;
}

// The model each drawn function is fitted with: a polynomial of its
// degree (on a logarithmic axis the fit works on the logarithm, where the
// exponential and the power are straight lines), or a sum of the functions
// it is made of. The fit scales x by the largest |x| of the points before
// the functions see it: `n` puts that scale back.
FitSettings modelFor(const std::string& function, double n) {
    static const std::map<std::string, int> degrees = {
        {"cubic", 3},  {"quadratic", 2}, {"rising", 2},      {"falling", 2}, {"markers", 2},
        {"fitted", 2}, {"ramp", 1},      {"exponential", 1}, {"power", 1}};
    FitSettings fit;
    fit.graphPointCount = 201;
    if (const auto d = degrees.find(function); d != degrees.end()) {
        fit.degree = d->second;
        return fit;
    }
    const std::string x = "(" + std::to_string(n) + " * x)";
    const std::map<std::string, std::vector<std::string>> sums = {
        {"wave", {"1", "sin(0.9 * " + x + ")", "cos(0.9 * " + x + ")"}},
        {"hump", {"1", "exp(-(" + x + " - 6) * (" + x + " - 6) / 6)"}},
        {"decay", {"1", "exp(-0.35 * " + x + ")"}},
        {"doubling", {"1", "exp(0.69314718056 * " + x + ")"}},
    };
    fit.modelKind = FunctionSum;
    fit.basisExpr = {"", "", "", "", "", ""};
    const std::vector<std::string>& terms = sums.at(function);
    for (std::size_t k = 0; k < terms.size(); ++k) fit.basisExpr[k] = terms[k];
    return fit;
}

// The largest distance between the fit of the points and the drawn
// function, over the part of the plot where the curve shows, measured as
// the points are: in shares of the axis ranges.
double fitDeviation(const Axes& axes, const nlohmann::json& series,
                    const std::vector<SourcePoint>& pts) {
    FitInput in;
    in.points = pts.data();
    in.pointCount = int32_t(pts.size());
    in.axis.axisRect = axes.rect;
    in.axis.xMin = axes.xMin, in.axis.xMax = axes.xMax, in.axis.xLog = axes.xLog;
    in.axis.yMin = axes.yMin, in.axis.yMax = axes.yMax, in.axis.yLog = axes.yLog;
    double n = 1.0;
    for (const SourcePoint& p : pts) {
        const double u = axes.ofPixel(p).x;
        n = std::max(n, std::fabs(axes.xLog ? std::log10(axes.value(u, axes.xMin, axes.xMax, true))
                                            : axes.value(u, axes.xMin, axes.xMax, false)));
    }
    in.settings = modelFor(series["function"], n);
    in.imagePresent = true;
    auto work = std::make_unique<SvdFitWork>();
    FitResult result;
    GeneratedGraph graph;
    if (runFit(in, *work, result, graph).status != FitOk) return 1.0;
    std::vector<cv::Point2d> drawn;
    for (const auto& p : series["samples"]) drawn.push_back(axes.ofValue(p[0], p[1]));
    const double v0 = Axes::unit(series["visible"][0], axes.xMin, axes.xMax, axes.xLog);
    const double v1 = Axes::unit(series["visible"][1], axes.xMin, axes.xMax, axes.xLog);
    double worst = 0;
    for (int l = 0; l < graph.generatedCount; ++l) {
        const cv::Point2d u =
            axes.ofValue(graph.generatedX[std::size_t(l)], graph.generatedY[std::size_t(l)]);
        if (u.x < v0 || u.x > v1 || u.y < 0 || u.y > 1) continue;
        worst = std::max(worst, toPolyline(u, drawn));
    }
    return worst;
}

nlohmann::json asValues(const Axes& a, const std::vector<SourcePoint>& pts) {
    nlohmann::json out = nlohmann::json::array();
    for (const SourcePoint& p : pts) {
        const cv::Point2d u = a.ofPixel(p);
        out.push_back({a.value(u.x, a.xMin, a.xMax, a.xLog), a.value(u.y, a.yMin, a.yMax, a.yLog)});
    }
    return out;
}

// The chart as the extraction sees it: a photographed one straightened the
// way a user does it, corners on the chart's corners and the perspective
// mapping run onto a rectangle of the chart's size.
cv::Mat workingPicture(const nlohmann::json& c) {
    cv::Mat picture = readImageFile(kDir + c["file"].get<std::string>());
    if (picture.empty() || !c.contains("photo")) return picture;
    const nlohmann::json& photo = c["photo"];
    MappingGeometry g;
    for (int k = 0; k < 4; ++k)
        g.corners[std::size_t(k)] = {int(std::lround(photo["corners"][k][0].get<double>())),
                                     int(std::lround(photo["corners"][k][1].get<double>()))};
    g.graphRect = {0, 0, photo["size"][0], photo["size"][1]};
    g.method = MappingMethod::Perspective;
    g.sampling = MappingSampling::Interpolated;
    ImagePair images;
    images.inputImage = picture;
    images.outputImage = picture.clone();
    runMapping(images, CurrentImage::Output, g);
    return outputImage(images).clone();
}

nlohmann::json charts() {
    std::ifstream in(kDir + "series.json");
    return nlohmann::json::parse(in);
}

TEST(SeriesAcceptance, EachSeriesFromOneClickFollowsItsFunction) {
    nlohmann::json results;
    int series = 0;
    for (const nlohmann::json& c : charts()) {
        const std::string file = c["file"];
        const cv::Mat picture = workingPicture(c);
        ASSERT_FALSE(picture.empty()) << file;
        const Axes axes(c);
        for (const nlohmann::json& s : c["series"]) {
            SCOPED_TRACE(file + " " + s["function"].get<std::string>());
            const IntPoint seed{s["seed"][0], s["seed"][1]};
            const ExtractionResult r =
                extractCurve(picture, axes.rect, seed, {.count = kMaxExtractionCount});
            ASSERT_TRUE(r.ok) << r.error;
            EXPECT_EQ(r.kind == ExtractedKind::Markers, s["markers"].get<bool>());
            if (s["markers"].get<bool>()) {
                EXPECT_EQ(r.found, int(s["markersX"].size()));
            }
            const Score sc = score(axes, s, r.points);
            std::printf("click %-24s %-12s %3zu points, worst %.2f %%, covers %.1f %%\n",
                        file.c_str(), s["function"].get<std::string>().c_str(), r.points.size(),
                        sc.worst * 100, sc.cover * 100);
            EXPECT_LE(sc.worst, kMostError);
            EXPECT_GE(sc.cover, kLeastCover);
            const double fit = fitDeviation(axes, s, r.points);
            std::printf("      fit within %.2f %%\n", fit * 100);
            EXPECT_LE(fit, mostFitError(c));
            results[file]["clicks"].push_back(asValues(axes, r.points));
            ++series;
        }
    }
    EXPECT_EQ(series, 39);
    if (const char* out = std::getenv("QF_EXTRACTION_RESULTS"))
        std::ofstream(std::string(out) + "/clicks.json") << results.dump();
}

TEST(SeriesAcceptance, EverySeriesFoundWithoutAClickFollowsItsFunction) {
    nlohmann::json results;
    for (const nlohmann::json& c : charts()) {
        const std::string file = c["file"];
        SCOPED_TRACE(file);
        const cv::Mat picture = workingPicture(c);
        const Axes axes(c);
        const std::vector<FoundSeries> found =
            extractEverySeries(picture, axes.rect, {.count = kMaxExtractionCount});
        std::vector<char> matched(found.size(), 0);
        bool sameColour = false;
        for (const nlohmann::json& s : c["series"])
            for (const nlohmann::json& t : c["series"])
                sameColour = sameColour || (&s != &t && s["colour"] == t["colour"]);
        for (const nlohmann::json& s : c["series"]) {
            SCOPED_TRACE(s["function"].get<std::string>());
            // The found series nearest the drawn function.
            int best = -1;
            Score bestScore{1e9, 0};
            for (std::size_t i = 0; i < found.size(); ++i) {
                const Score sc = score(axes, s, found[i].extraction.points);
                if (!matched[i] && sc.worst < bestScore.worst) best = int(i), bestScore = sc;
            }
            if (sameColour && best < 0) {
                std::printf("every %-24s %-12s not found; a click is asked for\n", file.c_str(),
                            s["function"].get<std::string>().c_str());
                ASSERT_FALSE(found.empty());
                EXPECT_TRUE(found.front().sharesColour || !found.front().note.empty());
                continue;
            }
            ASSERT_GE(best, 0);
            matched[std::size_t(best)] = 1;
            const FoundSeries& f = found[std::size_t(best)];
            std::printf("every %-24s %-12s %3zu points, worst %.2f %%, covers %.1f %%, %s\n",
                        file.c_str(), s["function"].get<std::string>().c_str(),
                        f.extraction.points.size(), bestScore.worst * 100, bestScore.cover * 100,
                        f.colourName.c_str());
            EXPECT_LE(bestScore.worst, kMostError);
            EXPECT_GE(bestScore.cover, kLeastCover);
            const double fit = fitDeviation(axes, s, f.extraction.points);
            std::printf("      fit within %.2f %%\n", fit * 100);
            EXPECT_LE(fit, mostFitError(c));
            EXPECT_EQ(f.colourName, s["colourName"].get<std::string>());
            EXPECT_EQ(f.extraction.kind == ExtractedKind::Markers, s["markers"].get<bool>());
            // The seed given with it finds the same series again.
            const ExtractionResult again =
                extractCurve(picture, axes.rect, f.seed, {.count = kMaxExtractionCount});
            ASSERT_TRUE(again.ok) << again.error;
            EXPECT_LE(score(axes, s, again.points).worst, kMostError);
            results[file]["every"].push_back(asValues(axes, f.extraction.points));
        }
        // Nothing else was taken for a series: no frame, grid, legend or text.
        for (std::size_t i = 0; i < found.size(); ++i)
            EXPECT_TRUE(matched[i]) << "an extra " << found[i].colourName << " series at "
                                    << found[i].seed.x << "," << found[i].seed.y;
        if (sameColour) {
            for (const FoundSeries& f : found) EXPECT_TRUE(f.sharesColour && !f.note.empty());
        }
    }
    if (const char* out = std::getenv("QF_EXTRACTION_RESULTS"))
        std::ofstream(std::string(out) + "/every.json") << results.dump();
}

}  // namespace
}  // namespace qf
