// The axes of the committed chart set (matplotlib and gnuplot charts, ten
// of them photographed) read by themselves and measured against the truth
// the drawing script wrote: nearly all straight charts read right, and no
// chart read wrong without saying so.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "imaging/image_file.h"
#include "reading/axis_reading.h"
#include "reading/ocr_engine.h"

namespace qf {
namespace {

// QF_READING_SET names another set made by the same script, to measure on.
const std::string kDir = std::getenv("QF_READING_SET")
                             ? std::string(std::getenv("QF_READING_SET")) + "/"
                             : std::string(QF_SOURCE_DIR) + "/tests/data/reading/";

// How far a read value at an end of the axis lies from the truth, as a
// fraction of the axis's range (of its logarithms on a logarithmic axis).
double endError(const nlohmann::json& t, double readMin, double readMax) {
    const bool log = t["log"].get<bool>();
    const auto f = [&](double v) { return log ? std::log10(v) : v; };
    const double lo = f(t["min"].get<double>()), hi = f(t["max"].get<double>());
    if (!(readMin > 0 && readMax > 0) && log) return INFINITY;
    const double e = std::max(std::abs(f(readMin) - lo), std::abs(f(readMax) - hi));
    return e / std::abs(hi - lo);
}

enum class Outcome { Right, Refused, Wrong };

struct Tally {
    int right = 0, refused = 0, wrong = 0;
    int total() const { return right + refused + wrong; }
};

// One axis: read right, refused with a reason, or wrong.
Outcome judge(const AxisOutcome& axis, bool log, const nlohmann::json& truth, double readMin,
              double readMax, double tolerance, double& error) {
    error = NAN;
    if (!axis.ok) return axis.reason.empty() ? Outcome::Wrong : Outcome::Refused;
    error = endError(truth, readMin, readMax);
    return log == truth["log"].get<bool>() && error <= tolerance ? Outcome::Right : Outcome::Wrong;
}

const char* name(Outcome o) {
    return o == Outcome::Right ? "right" : o == Outcome::Refused ? "refused" : "WRONG";
}

TEST(ChartSet, AxesAreReadRightOrRefusedWithAReason) {
    std::string why;
    if (!ocrAvailable(&why)) GTEST_SKIP() << "text recognition is not available: " << why;
    std::ifstream in(kDir + "charts.json");
    ASSERT_TRUE(in) << kDir;
    const nlohmann::json charts = nlohmann::json::parse(in);
    Tally straight, photos;
    double ocr = 0, boxCornerError = 0, axesCornerError = 0;
    for (const nlohmann::json& c : charts) {
        const std::string file = c["file"];
        const cv::Mat picture = readImageFile(kDir + file);
        ASSERT_FALSE(picture.empty()) << file;
        const bool photographed = c.value("photographed", false);
        AxisReading r;
        double xMinAt = 0, xMaxAt = 0, yMinAt = 0, yMaxAt = 0;
        if (photographed) {
            const PhotoReading p = readPhotographedAxes(picture);
            r = p.reading;
            xMinAt = r.axis.xMin, xMaxAt = r.axis.xMax, yMinAt = r.axis.yMin, yMaxAt = r.axis.yMax;
            if (p.corners.found) {
                double worst = 0;
                for (int k = 0; k < 4; ++k)
                    worst = std::max(
                        worst,
                        std::hypot(p.corners.precise[k].x - c["corners"][k][0].get<double>(),
                                   p.corners.precise[k].y - c["corners"][k][1].get<double>()));
                // A frame drawn on all four sides gives its corners directly;
                // without top and right sides the fourth corner is inferred.
                double& error = c["box"].get<bool>() ? boxCornerError : axesCornerError;
                error = std::max(error, worst);
                std::printf("%-26s corners within %.2f px\n", file.c_str(), worst);
            }
        } else {
            r = readAxes(picture);
            // The fitted scales at the truth's own pixels: the axis rectangle
            // found may differ from the drawn limits by a pixel, the scale not.
            if (r.x.ok)
                xMinAt = r.xFit.valueAt(c["x"]["pixelMin"]),
                xMaxAt = r.xFit.valueAt(c["x"]["pixelMax"]);
            if (r.y.ok)
                yMinAt = r.yFit.valueAt(c["y"]["pixelMin"]),
                yMaxAt = r.yFit.valueAt(c["y"]["pixelMax"]);
        }
        ocr += r.ocrSeconds;
        // Photographs are straightened through corners found to a fraction of
        // a pixel, and blurred by JPEG: a looser bound for them.
        const double tolerance = photographed ? 0.005 : 0.002;
        double ex = 0, ey = 0;
        const Outcome ox = judge(r.x, r.axis.xLog, c["x"], xMinAt, xMaxAt, tolerance, ex);
        const Outcome oy = judge(r.y, r.axis.yLog, c["y"], yMinAt, yMaxAt, tolerance, ey);
        const Outcome chart = ox == Outcome::Wrong || oy == Outcome::Wrong       ? Outcome::Wrong
                              : ox == Outcome::Refused || oy == Outcome::Refused ? Outcome::Refused
                                                                                 : Outcome::Right;
        Tally& t = photographed ? photos : straight;
        (chart == Outcome::Right ? t.right : chart == Outcome::Refused ? t.refused : t.wrong)++;
        std::printf("%-26s %-7s x %-7s %.4f%% y %-7s %.4f%%  %s%s%s\n", file.c_str(), name(chart),
                    name(ox), 100 * ex, name(oy), 100 * ey,
                    r.x.ok ? "" : ("x: " + r.x.reason + " ").c_str(),
                    r.y.ok ? "" : ("y: " + r.y.reason).c_str(), "");
        if (chart != Outcome::Right || std::getenv("QF_READING_VERBOSE")) {
            for (const TickLabel& l : r.labels)
                std::printf("    %c [%d,%d,%d,%d] '%s' %s %g at %.2f %s\n",
                            l.axis == LabelAxis::X ? 'x' : 'y', l.box.left, l.box.top, l.box.right,
                            l.box.bottom, l.text.c_str(),
                            l.multiplier ? "factor"
                            : l.parsed   ? "="
                                         : "?",
                            l.value, l.position, l.used ? "used" : l.note.c_str());
        }
        EXPECT_NE(chart, Outcome::Wrong) << file << ": a wrong calibration passed";
        // Labels that cannot be read as numbers are refused saying why.
        const std::string refusal = c.value("refusal", "");
        if (!refusal.empty()) {
            EXPECT_EQ(r.x.reason, refusal) << file;
        }
    }
    std::printf(
        "straight: %d right, %d refused, %d wrong of %d; photographed: %d right, %d refused, %d "
        "wrong "
        "of %d; recognition %.2f s\n",
        straight.right, straight.refused, straight.wrong, straight.total(), photos.right,
        photos.refused, photos.wrong, photos.total(), ocr);
    EXPECT_GE(straight.total(), 40);
    EXPECT_GE(photos.total(), 10);
    EXPECT_GE(straight.right, std::ceil(0.95 * straight.total()));
    // The frame's corners on the photographs (where found): within a pixel
    // of the truth, which for matplotlib is its ticks' scale, up to a pixel
    // off its frame lines; a few pixels where two sides are not drawn.
    EXPECT_LE(boxCornerError, 1.5);
    EXPECT_LE(axesCornerError, 4.0);
}

}  // namespace
}  // namespace qf
