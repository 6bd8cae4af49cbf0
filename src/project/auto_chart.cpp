#include "project/auto_chart.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "common/default_geometry.h"
#include "document/series_edit.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"
#include "imaging/pdf_page.h"
#include "imaging/series_finder.h"
#include "reading/axis_reading.h"
#include "reading/frame_corners.h"

namespace qf {
namespace {

// How far the frame's sides may lean (pixels over their length) and the
// chart still be read as it is: a scan a fraction of a degree askew reads
// within the axes' tolerance, a photograph's tilt does not.
constexpr double kMostLean = 2.0;

// How far inside a straightened frame the series are looked for.
constexpr int kFrameInset = 3;

double lean(const FrameCorners& c) {
    const auto& p = c.precise;  // top-left, top-right, bottom-right, bottom-left
    return std::max({std::abs(p[0].y - p[1].y), std::abs(p[3].y - p[2].y),
                     std::abs(p[0].x - p[3].x), std::abs(p[1].x - p[2].x)});
}

// Whether the corners found are those of the frame the straight reading
// found (each within a tenth of its shorter side): on a chart drawn straight
// the largest piece of ink may be the frame with a curve or markers joined
// to it, whose outline is no frame.
bool sameFrame(const FrameCorners& c, const PlotFrame& f) {
    const IntRect& r = f.axisRect;
    const double reach = 0.1 * std::min(r.width(), r.height());
    const cv::Point2d at[4] = {{double(r.left), double(r.top)},
                               {double(r.right), double(r.top)},
                               {double(r.right), double(r.bottom)},
                               {double(r.left), double(r.bottom)}};
    for (std::size_t k = 0; k < 4; ++k)
        if (cv::norm(c.precise[k] - at[k]) > reach) return false;
    return true;
}

// The reasons an axis reading gives, one line per axis (one for both when
// they share it).
std::vector<std::string> refusalOf(const AxisReading& r) {
    if (!r.x.ok && !r.y.ok && r.x.reason == r.y.reason) return {"the X and Y axes: " + r.x.reason};
    std::vector<std::string> lines;
    if (!r.x.ok) lines.push_back("the X axis: " + r.x.reason);
    if (!r.y.ok) lines.push_back("the Y axis: " + r.y.reason);
    return lines;
}

// The series found on the working picture, each with its points (so the
// project replays them as they are) and the fit asked for, named by colour.
void addSeriesFound(AutoChart& a, const cv::Mat& working, const AutoOptions& options,
                    int inset = 0) {
    DocumentRecord& r = a.record;
    const IntRect& e = r.axis.axisRect;
    const std::vector<FoundSeries> found = extractEverySeries(
        working, {e.left + inset, e.top + inset, e.right - inset, e.bottom - inset},
        options.extraction);
    r.series = {Series{}};
    r.active = 0;
    r.current().extraction = options.extraction;
    r.current().fit = options.fit;
    if (found.empty()) {
        a.notes.push_back("no series found inside the axes");
        return;
    }
    bool sharing = false;
    for (std::size_t i = 0; i < found.size() && i < kMaxSeries; ++i) {
        const FoundSeries& f = found[i];
        Series s;
        // Two curves of one colour: "blue", "blue 2".
        int same = 0;
        for (std::size_t j = 0; j < i; ++j) same += found[j].colourName == f.colourName ? 1 : 0;
        s.name = same == 0 ? f.colourName : f.colourName + " " + std::to_string(same + 1);
        s.points = f.extraction.points;
        s.extraction = options.extraction;
        s.fit = options.fit;
        sharing = sharing || f.sharesColour;
        // Drawn in the curve's own colour where that tells it apart.
        const cv::Vec3b& c = f.extraction.colour;
        const uint32_t own = uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | uint32_t(c[2]);
        if (i == 0) {
            s.colour = own;
            r.series[0] = std::move(s);
        } else {
            s.colour = colourForCurve(r.series, own);
            addSeries(r, std::move(s));
        }
    }
    r.active = 0;
    if (sharing)
        a.notes.push_back(
            "series of one colour may be mixed up where they cross; check them in the window");
}

}  // namespace

AutoChart readChartPicture(const cv::Mat& picture, const std::string& path,
                           const AutoOptions& options) {
    AutoChart a;
    a.record = newDocumentRecord();
    a.record.image = path;
    if (picture.empty() || picture.type() != CV_8UC3) {
        a.refusal = {"no picture to read"};
        return a;
    }
    const DefaultGeometry placed = defaultGeometryFor(picture.cols, picture.rows);
    a.record.mapping.corners = placed.corners;
    a.record.mapping.graphRect = placed.graphRect;

    // A chart as drawn is read as it is; one whose frame leans (a
    // photograph, a page shot at a slant) is read straightened by its
    // frame's corners, as the window would map it. So is one whose frame
    // only the corners' search finds.
    const AxisReading straight = readAxes(picture);
    a.ocrSeconds += straight.ocrSeconds;
    const FrameCorners corners = findFrameCorners(picture);
    const bool leaning = corners.found && lean(corners) > kMostLean &&
                         (!straight.frame.found || sameFrame(corners, straight.frame));
    if (!leaning && (straight.ok() || straight.frame.found || !corners.found)) {
        if (!straight.ok()) {
            a.refusal = refusalOf(straight);
            return a;
        }
        a.record.axis = straight.axis;
        addSeriesFound(a, picture, options);
        a.ok = true;
        return a;
    }

    PhotoReading photo = readAxesThroughCorners(picture, corners);
    a.ocrSeconds += photo.reading.ocrSeconds;
    const IntRect frame = photo.reading.axis.axisRect;
    if (photo.reading.ok()) {
        // The mapping takes whole pixels: the values at the frame's edges
        // are moved to where the rounded corners lie on the straightened
        // picture.
        const auto& c = corners.precise;
        const std::vector<cv::Point2f> from{c[0], c[1], c[2], c[3]};
        const std::vector<cv::Point2f> to{{float(frame.left), float(frame.top)},
                                          {float(frame.right), float(frame.top)},
                                          {float(frame.right), float(frame.bottom)},
                                          {float(frame.left), float(frame.bottom)}};
        std::vector<cv::Point2f> rounded, q;
        for (const IntPoint& p : corners.corners) rounded.emplace_back(float(p.x), float(p.y));
        cv::perspectiveTransform(rounded, q, cv::getPerspectiveTransform(from, to));
        setAxisValuesAt(photo.reading, 0.5 * (q[0].x + q[3].x), 0.5 * (q[0].y + q[1].y),
                        0.5 * (q[1].x + q[2].x), 0.5 * (q[3].y + q[2].y));
    }
    if (!photo.reading.ok()) {
        a.refusal = refusalOf(leaning ? photo.reading : straight);
        if (leaning)
            for (std::string& line : a.refusal)
                line += " (read straightened by the frame's corners)";
        return a;
    }

    // The frame onto a rectangle of its own size, in the middle of the
    // working picture (which keeps the photograph's size).
    const int w = std::min(frame.width(), picture.cols - 2);
    const int h = std::min(frame.height(), picture.rows - 2);
    const int left = (picture.cols - w) / 2, top = (picture.rows - h) / 2;
    MappingGeometry& m = a.record.mapping;
    m.corners = corners.corners;
    m.graphRect = {left, top, left + w, top + h};
    m.method = MappingMethod::Perspective;
    // Thin lines keep their place and width through the straightening.
    m.sampling = MappingSampling::Interpolated;
    applyMappingNow(a.record);
    a.record.axis = photo.reading.axis;
    a.record.axis.axisRect = m.graphRect;
    a.photographed = true;

    ImagePair images;
    images.inputImage = picture;
    runMapping(images, CurrentImage::Input, m);
    // The frame's lines, straightened from a blurred photograph, lean and
    // spread over a few rows at the rectangle's edges, where what is left
    // of them beside the rows taken as lines could pass for a flat series:
    // the series are looked for a few pixels inside.
    addSeriesFound(a, outputImage(images), options, kFrameInset);
    a.ok = true;
    return a;
}

AutoChart readChart(const std::string& path, const AutoOptions& options) {
    const PictureRead read = readPictureOrPdfPage(path, std::nullopt);
    if (!read.ok()) {
        AutoChart a;
        a.record.image = path;
        // The message names the file on a line of its own; its last line says why.
        const auto reason = read.message.rfind('\n');
        a.refusal = {reason == std::string::npos ? read.message : read.message.substr(reason + 1)};
        return a;
    }
    return readChartPicture(read.picture, path, options);
}

}  // namespace qf
