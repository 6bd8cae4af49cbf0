#include "reading/axis_reading.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <tuple>

#include "reading/ocr_engine.h"
#include "reading/tick_labels.h"

namespace qf {
namespace {

// The tick nearest a label's centre, when one is close enough to be its own
// (a narrow glyph's ink may sit a few pixels off the centre its text was
// placed by); the label's centre otherwise.
void pairWithTicks(std::vector<TickLabel>& labels, LabelAxis axis,
                   const std::vector<double>& ticks) {
    for (TickLabel& l : labels) {
        if (l.axis != axis || !l.parsed) continue;
        const double along = axis == LabelAxis::X ? l.box.width() : l.box.height();
        const double across = axis == LabelAxis::X ? l.box.height() : l.box.width();
        double best = 1e9;
        for (double t : ticks)
            if (std::abs(t - l.position) < std::abs(best - l.position)) best = t;
        const double reach = axis == LabelAxis::X ? std::max({4.0, 0.5 * along, 0.6 * across})
                                                  : std::max(3.0, 0.4 * along);
        if (std::abs(best - l.position) <= reach) l.position = best, l.onTick = true;
    }
}

AxisOutcome fitLabels(std::vector<TickLabel>& labels, LabelAxis axis, double length, AxisFit& fit) {
    std::vector<double> pixels, values;
    std::vector<TickLabel*> used;
    // A label's own centre is a pixel or two off its tick: when three
    // labels or more sit on ticks, only those count.
    int onTicks = 0;
    for (const TickLabel& l : labels) onTicks += l.axis == axis && l.parsed && l.onTick ? 1 : 0;
    for (TickLabel& l : labels) {
        if (l.axis != axis || !l.parsed) continue;
        if (onTicks >= 3 && !l.onTick) {
            l.note = "no tick mark beside it";
            continue;
        }
        pixels.push_back(l.position);
        values.push_back(l.value);
        used.push_back(&l);
    }
    // Values grow rightward along X and upward (to smaller rows) along Y.
    fit = fitAxis(pixels, values, std::max(2.0, 0.004 * length), axis == LabelAxis::X ? 1 : -1);
    AxisOutcome out;
    out.ok = fit.ok;
    out.reason = fit.reason;
    out.rms = fit.rms;
    for (std::size_t i = 0; i < used.size(); ++i) {
        used[i]->used = fit.ok && fit.used[i];
        if (fit.ok && !fit.used[i]) used[i]->note = "disagrees with the other labels";
        out.labelsUsed += used[i]->used ? 1 : 0;
    }
    return out;
}

}  // namespace

// A logarithmic axis whose values fall leftward or downward cannot be set,
// so it is refused.
void setAxisValuesAt(AxisReading& r, double left, double top, double right, double bottom) {
    if (r.x.ok) {
        r.axis.xLog = r.xFit.log;
        r.axis.xMin = r.xFit.valueAt(left);
        r.axis.xMax = r.xFit.valueAt(right);
        if (r.xFit.log && !(r.axis.xMin < r.axis.xMax)) {
            r.x.ok = false;
            r.x.reason = "the tick labels give a logarithmic scale running from right to left";
        }
    }
    if (r.y.ok) {
        r.axis.yLog = r.yFit.log;
        r.axis.yMin = r.yFit.valueAt(bottom);
        r.axis.yMax = r.yFit.valueAt(top);
        if (r.yFit.log && !(r.axis.yMin < r.axis.yMax)) {
            r.y.ok = false;
            r.y.reason = "the tick labels give a logarithmic scale running from top to bottom";
        }
    }
    // A linear axis through zero gives it as rounding leaves it (2.2E-16):
    // shown and saved as the 0 the chart printed.
    for (auto [lo, hi, log] : {std::tuple{&r.axis.xMin, &r.axis.xMax, r.axis.xLog},
                               std::tuple{&r.axis.yMin, &r.axis.yMax, r.axis.yLog}}) {
        const double tiny = 1e-9 * std::abs(*hi - *lo);
        if (!log && std::abs(*lo) < tiny) *lo = 0;
        if (!log && std::abs(*hi) < tiny) *hi = 0;
    }
    if (!r.x.ok) r.axis.xMin = 0, r.axis.xMax = 1, r.axis.xLog = false;
    if (!r.y.ok) r.axis.yMin = 0, r.axis.yMax = 1, r.axis.yLog = false;
}

namespace {

void setEdges(AxisReading& r) {
    const IntRect& e = r.axis.axisRect;
    setAxisValuesAt(r, e.left, e.top, e.right, e.bottom);
}

}  // namespace

AxisReading readAxes(const cv::Mat& workingPicture) {
    AxisReading r;
    r.frame = findPlotFrame(workingPicture);
    if (!r.frame.found) {
        r.x.reason = r.y.reason = r.frame.reason;
        return r;
    }
    r.axis.axisRect = r.frame.axisRect;
    if (std::string why; !ocrAvailable(&why)) {
        r.x.reason = r.y.reason = "the tick labels cannot be read: " + why;
        return r;
    }
    const cv::Mat grey = toGrey(workingPicture);
    const cv::Mat mask = darkMask(grey);
    LabelsRead read = readTickLabels(grey, mask, r.frame);
    r.labels = std::move(read.labels);
    r.ocrSeconds = read.ocrSeconds;
    if (!read.ocrError.empty()) {
        r.x.reason = r.y.reason = "the tick labels cannot be read: " + read.ocrError;
        return r;
    }
    pairWithTicks(r.labels, LabelAxis::X, r.frame.xTicks);
    pairWithTicks(r.labels, LabelAxis::Y, r.frame.yTicks);
    r.x = fitLabels(r.labels, LabelAxis::X, r.frame.axisRect.width(), r.xFit);
    r.y = fitLabels(r.labels, LabelAxis::Y, r.frame.axisRect.height(), r.yFit);
    // Labels read but none of them numbers: month names, dates, categories.
    for (auto [axis, outcome] : {std::pair{LabelAxis::X, &r.x}, std::pair{LabelAxis::Y, &r.y}}) {
        if (outcome->ok) continue;
        int words = 0, numbers = 0;
        for (const TickLabel& l : r.labels) {
            if (l.axis != axis || l.multiplier) continue;
            (l.parsed ? numbers : words)++;
        }
        if (words >= 3 && numbers < 3 && words > numbers)
            outcome->reason = "the tick labels are not numbers (names or dates)";
    }
    // Labels whose multiplier is unknown give no values, however well they agree.
    for (auto [refusal, outcome] :
         {std::pair{&read.xRefusal, &r.x}, std::pair{&read.yRefusal, &r.y}}) {
        if (refusal->empty()) continue;
        *outcome = AxisOutcome{};
        outcome->reason = *refusal;
    }
    setEdges(r);
    return r;
}

PhotoReading readPhotographedAxes(const cv::Mat& photo) {
    return readAxesThroughCorners(photo, findFrameCorners(photo));
}

PhotoReading readAxesThroughCorners(const cv::Mat& photo, const FrameCorners& corners) {
    PhotoReading p;
    p.corners = corners;
    if (!p.corners.found) {
        p.reading.x.reason = p.reading.y.reason = p.corners.reason;
        return p;
    }
    const auto& c = p.corners.precise;
    const double w = 0.5 * (cv::norm(c[1] - c[0]) + cv::norm(c[2] - c[3]));
    const double h = 0.5 * (cv::norm(c[3] - c[0]) + cv::norm(c[2] - c[1]));
    // Room around the frame for the labels.
    const int margin = int(std::lround(0.2 * std::max(w, h)));
    const int iw = int(std::lround(w)), ih = int(std::lround(h));
    const std::vector<cv::Point2f> from{c[0], c[1], c[2], c[3]};
    const std::vector<cv::Point2f> to{{float(margin), float(margin)},
                                      {float(margin + iw), float(margin)},
                                      {float(margin + iw), float(margin + ih)},
                                      {float(margin), float(margin + ih)}};
    const cv::Mat m = cv::getPerspectiveTransform(from, to);
    cv::warpPerspective(photo, p.straightened, m, {iw + 2 * margin, ih + 2 * margin},
                        cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    p.reading = readAxes(p.straightened);
    // The values at the frame itself, which is where the corners go.
    if (p.reading.frame.found) {
        p.reading.axis.axisRect = {margin, margin, margin + iw, margin + ih};
        setEdges(p.reading);
    }
    return p;
}

void moveReading(AxisReading& r, int dx, int dy) {
    const auto move = [&](IntRect& rect) {
        rect.left += dx, rect.right += dx, rect.top += dy, rect.bottom += dy;
    };
    move(r.frame.axisRect);
    for (double& t : r.frame.xTicks) t += dx;
    for (double& t : r.frame.yTicks) t += dy;
    move(r.axis.axisRect);
    for (TickLabel& l : r.labels) {
        move(l.box);
        l.position += l.axis == LabelAxis::X ? dx : dy;
    }
    // value = a + b * pixel, with the pixel now larger by the shift.
    r.xFit.a -= r.xFit.b * dx;
    r.yFit.a -= r.yFit.b * dy;
}

}  // namespace qf
