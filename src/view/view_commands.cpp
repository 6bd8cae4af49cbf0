#include "view/view_commands.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "common/default_geometry.h"
#include "common/translate.h"
#include "fit/report.h"
#include "imaging/image_file.h"
#include "imaging/mapping.h"
#include "imaging/processing.h"
#include "points/source_points.h"
#include "view/series_fits.h"

namespace qf {

void updateScrollSizes(ViewState& s, IntSize image) {
    if (image.cx == 0 || image.cy == 0) return;
    const ScrollSizes sizes = scrollSizesFor(s.transform.zoomShift, image);
    s.transform.displaySize = sizes.total;
    s.transform.cellSize = sizes.cell;
}

void refreshDisplay(ViewState& s) {
    selectCurrentImage(s.display);
    updateScrollSizes(s, s.imageSize());
}

void selectTool(ViewState& s, Tool tool) {
    s.tools.tool = tool;
    s.extractPreview = {};
    s.tickPicks.clear();
    s.readLabels.reset();
    s.display.displaySource = tool == Tool::Corners ? 1 : 2;
    refreshDisplay(s);
}

void toggleInputDisplay(ViewState& s) {
    s.display.displaySource = s.display.displaySource == 1 ? 0 : 1;
    refreshDisplay(s);
}

void toggleOutputDisplay(ViewState& s) {
    s.display.displaySource = s.display.displaySource == 2 ? 0 : 2;
    refreshDisplay(s);
}

void toggleGeneratedGraph(ViewState& s) {
    s.display.showGeneratedGraph = !s.display.showGeneratedGraph;
}

void toggleMappingGrid(ViewState& s) {
    s.display.displaySource = 1;
    s.guide.showMappingGrid = !s.guide.showMappingGrid;
    refreshDisplay(s);
}

void togglePixelGrid(ViewState& s) {
    s.showPixelGrid = !s.showPixelGrid;
}

void toggleGreyMode(ViewState& s) {
    s.greyMode = !s.greyMode;
    s.extractPreview = {};  // found on the picture this replaces
    convertGrey(s.images, s.display.currentImage, s.greyMode);
    // The working picture is rebuilt from the input: no longer the mapping.
    if (s.imagePresent()) {
        s.picture.applied.reset();
        s.doc.applied.reset();
    }
}

IntPoint snapToInk(const cv::Mat& picture, IntPoint click, int reach) {
    const cv::Rect around =
        cv::Rect(click.x - reach, click.y - reach, 2 * reach + 1, 2 * reach + 1) &
        cv::Rect(0, 0, picture.cols, picture.rows);
    if (around.empty() || !around.contains({click.x, click.y})) return click;
    cv::Mat lab;
    cv::cvtColor(picture(around), lab, cv::COLOR_BGR2Lab);
    // The ground: each channel's median over the window, which a thin curve
    // does not move.
    cv::Vec3b ground;
    std::vector<uint8_t> values(std::size_t(lab.total()));
    for (int c = 0; c < 3; ++c) {
        std::size_t k = 0;
        for (int y = 0; y < lab.rows; ++y)
            for (int x = 0; x < lab.cols; ++x) values[k++] = lab.at<cv::Vec3b>(y, x)[c];
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        ground[c] = values[values.size() / 2];
    }
    // The pixel standing out most, nearer ones preferred.
    IntPoint best = click;
    double bestScore = 20.0;  // below this it is ground, or noise in it
    for (int y = 0; y < lab.rows; ++y) {
        for (int x = 0; x < lab.cols; ++x) {
            const cv::Vec3b v = lab.at<cv::Vec3b>(y, x);
            const double d = std::hypot(double(v[0]) - ground[0], double(v[1]) - ground[1],
                                        double(v[2]) - ground[2]);
            const IntPoint p{around.x + x, around.y + y};
            const int away = std::max(std::abs(p.x - click.x), std::abs(p.y - click.y));
            const double score = d - 20.0 * away / reach;
            if (score > bestScore) {
                bestScore = score;
                best = p;
            }
        }
    }
    return best;
}

std::string previewExtraction(ViewState& s, IntPoint image, const ExtractionCancel& cancel) {
    if (!s.imagePresent() || s.display.displaySource != 2) return {};
    // At a reduced zoom a click meant for a thin curve lands pixels beside
    // it: it is taken to the ink within the three screen pixels around it.
    if (s.transform.zoomShift < 0)
        image = snapToInk(*s.current(), image, 3 << std::min(-s.transform.zoomShift, 4));
    ExtractionResult r = extractCurve(*s.current(), extractionArea(s.doc), image,
                                      s.doc.current().extraction, cancel);
    if (!r.ok) return r.error;
    s.extractPreview.seed = image;
    s.extractPreview.result = std::move(r);
    return {};
}

std::string redoExtraction(ViewState& s) {
    if (!s.extractPreview.shown()) return {};
    const IntPoint seed = *s.extractPreview.seed;
    const std::string error = previewExtraction(s, seed);
    if (!error.empty()) s.extractPreview = {};
    return error;
}

int confirmExtraction(ViewState& s) {
    int added = 0;
    for (const SourcePoint& p : s.extractPreview.result.points) {
        if (addSourcePoint(s.doc.current().points, p) < 0) break;
        ++added;
    }
    s.extractPreview = {};
    return added;
}

std::string extractionNote(const ExtractionPreview& preview) {
    if (!preview.shown() || !preview.result.thinned) return {};
    return substitute(translate("qf::Messages",
                                "マーカーが %1 個見つかりました。フィッティングで使える "
                                "%2 個を等間隔に選びました。"),
                      {std::to_string(preview.result.found), std::to_string(kMaxExtractionCount)});
}

void runMappingCommand(ViewState& s) {
    if (s.imagePresent()) {
        // An axis rectangle still where the picture opened with it goes onto
        // the graph rectangle: with the corners on the plot's corners, that
        // is the plot's frame, where the axes usually end.
        const cv::Mat& input = s.images.inputImage;
        if (s.doc.axis.axisRect == defaultGeometryFor(input.cols, input.rows).axisRect)
            s.doc.axis.axisRect = s.doc.mapping.graphRect;
        applyMappingNow(s.doc);
        runMapping(s.images, s.display.currentImage, s.doc.mapping);
        s.picture.applied = s.doc.applied;
        selectTool(s, Tool::GraphRect);
    }
    refreshDisplay(s);
}

void runProcessingCommand(ViewState& s) {
    runProcessing(s.images, s.display.currentImage);
    s.display.displaySource = 2;
    refreshDisplay(s);
    if (s.tools.tool == Tool::Corners) s.tools.clear();
}

FitCommandResult runFitCommand(ViewState& s, SvdFitWork& work) {
    FitInput in;
    in.points = s.doc.current().points.data();
    in.pointCount = s.pointCount();
    in.axis = s.doc.axis;
    in.settings = s.doc.current().fit;
    in.imagePresent = s.imagePresent();
    FitCommandResult r;
    r.outcome = runFit(in, work, s.fitResult, s.generated);
    if (r.outcome.modesCleared) s.tools.clear();
    s.fitDetails = r.outcome.status == FitOk ? fitDetailsOf(in, s.fitResult, work) : FitDetails{};
    if (r.outcome.status == FitOk) {
        // The report as it is written to files, then what a user reads.
        r.report = activeFitReport(s);
        r.activeTab = 1;
        keepActiveSeriesFit(s);
    }
    s.display.showGeneratedGraph = 1;
    refreshDisplay(s);
    return r;
}

std::string fileWriteFailureText(const std::string& path, int errorNumber,
                                 const std::string& systemReason) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            return substitute(translate("qf::Messages", "%1 へのアクセスは拒否されました。"),
                              {path});
        case EROFS:
        case ETXTBSY:
        case EBUSY:
            return substitute(
                translate("qf::Messages", "%1 は使用中または読み取り専用のため、書き込めません。"),
                {path});
        default:
            return substitute(translate("qf::Messages", "%1 に書き込めませんでした。\n%2"),
                              {path, systemReason});
    }
}

void resetZoomToOrigin(ViewState& s) {
    s.transform.zoomShift = 0;
    updateScrollSizes(s, s.imageSize());
    s.transform.scrollPos = {0, 0};
}

void installPicture(ViewState& s, cv::Mat picture, const std::string& path) {
    installLoadedImage(std::move(picture), s.images, s.doc.mapping, s.doc.axis.axisRect, s.display,
                       s.transform.zoomShift, s.greyMode);
    updateInnerQuad(s.doc.mapping, s.guide);
    s.doc.image = path;
    s.doc.applied.reset();
    s.picture.imagePath = path;
    s.picture.page = s.doc.page;
    s.picture.dpi = s.doc.dpi;
    s.picture.applied.reset();
    s.extractPreview = {};
    s.readLabels.reset();
    refreshDisplay(s);
}

}  // namespace qf
