#pragma once
// Everything the image view works on, as plain records: the document's record
// itself (the work: picture path, mapping geometry, axes, points, extraction,
// fit and graph settings), and beside it only what is derived from it or lasts
// no longer than a gesture: the pictures, which of them is shown, zoom and
// scroll, the mouse tools, the drag, the mapping guide, the point selection,
// the extraction preview and the fit's results. The widget adds only what
// needs Qt (events, painting, dialogs, timers, the label font, the cameras and
// the solver's work area).

#include <cstdint>
#include <opencv2/core.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/axis_settings.h"
#include "common/geometry.h"
#include "common/view_transform.h"
#include "document/document_record.h"
#include "fit/fit_types.h"
#include "fit/readable_results.h"
#include "graph/graph_style.h"
#include "imaging/camera_source.h"
#include "imaging/curve_extraction.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"
#include "points/source_points.h"

namespace qf {

// The mouse tools. One is chosen at a time; None after a fit, or after the
// processing while the corners were chosen, until a tool command. Ticks: two
// clicks on X-axis ticks and two on Y-axis ticks, each with its value typed,
// calibrate the axes.
enum class Tool { None, Corners, GraphRect, AddPoints, ErasePoints, Extract, Ticks };

struct InteractionMode {
    Tool tool = Tool::Corners;  // the corners at start; Extract: a click on a curve extracts it
    void clear() { tool = Tool::None; }
};

// What the graph-rectangle tool grabs: a corner of the graph rectangle or an
// edge of the axis rectangle.
enum class GraphRectHandle {
    None,
    GraphTopLeft,
    GraphTopRight,
    GraphBottomRight,
    GraphBottomLeft,
    AxisLeft,
    AxisRight,
    AxisBottom,
    AxisTop,
};

// The points the automatic extraction found, shown apart from the point list
// until they are added to it or dropped.
struct ExtractionPreview {
    std::optional<IntPoint> seed;  // image; the click they come from, none without a preview
    ExtractionResult result;
    bool shown() const { return seed.has_value(); }
};

// Whether n numbers a mapping corner (1..4); 0 stands for none.
inline bool isCorner(int32_t n) {
    return n >= 1 && n <= 4;
}

// The left-button gesture in progress.
struct DragState {
    IntPoint leftDownPoint{-1, -1};  // window; (-1, -1) after release
    int32_t selectedCorner = 0;      // 1..4 while a corner is dragged, else 0
    GraphRectHandle selectedHandle = GraphRectHandle::None;
    bool dragPending = false;  // pressed on something draggable, not moved yet
    bool dragActive = false;
    IntPoint dragStart;    // image
    IntPoint dragCurrent;  // image
    IntRect rubberBand;    // window; the band drawn last
    // What the arrow keys move: the corner (1..4, 0 none yet) and the
    // graph-rectangle handle last grabbed with their tools.
    int32_t lastCorner = 0;
    GraphRectHandle lastHandle = GraphRectHandle::None;
};

// What the working picture was made from: which file, and whether (and with
// which geometry) it is the mapping of the input.
struct PictureSource {
    std::string imagePath;    // empty: no picture, or a camera's frame
    std::optional<int> page;  // of a PDF, as the record names it
    int dpi = kDefaultPdfDpi;
    std::optional<MappingGeometry> applied;  // none: the working picture is the input
};

// The tick labels the automatic axis reading saw, drawn over the working
// picture while the axes are the ones it left (set by it, or unchanged after
// a refusal) and no other tool has been picked.
struct ReadLabel {
    IntRect box;  // on the working picture
    std::string text;
    double value = 0;
    bool parsed = false;
    bool used = false;        // the calibration agrees with it; else drawn struck through
    bool multiplier = false;  // the axis's multiplier or offset, neither used nor rejected
};
struct AxisLabelsShown {
    std::vector<ReadLabel> labels;
    AxisSettings axis;  // the axes as the reading left them
};

// A fit of one series, kept while the series' points and the axes are those
// it was made from: what the view draws of a series that is not the active
// one, and shows again when it becomes the active one.
struct SeriesFit {
    std::vector<SourcePoint> points;
    FitSettings settings;
    AxisSettings axis;
    FitResult result;
    FitDetails details;
    GeneratedGraph generated;
};

struct ViewState {
    // The work as the document holds it; the view edits it in place while a
    // gesture or a command runs and hands it to the document as one edit.
    DocumentRecord doc;
    ImagePair images;
    PictureSource picture;  // what the pictures were made from
    DisplaySource display;
    ViewTransform transform;
    InteractionMode tools;
    DragState drag;
    MappingGuide guide;
    int32_t selectedPoint = -1;  // row selected in the point list, -1 for none
    // The tick calibration's clicks so far (image pixels and typed values):
    // the first two on the X axis, the next two on the Y axis.
    std::vector<std::pair<IntPoint, double>> tickPicks;
    std::optional<AxisLabelsShown> readLabels;  // of the last automatic axis reading
    bool greyMode = true;
    uint32_t pixelGridColour = 0xFF0000;  // 0x00BBGGRR: blue
    bool showPixelGrid = false;
    bool showMagnifier = true;  // the loupe while placing points, corners and edges
    ExtractionPreview extractPreview;
    FitResult fitResult;
    FitDetails fitDetails;  // of the last successful fit; empty after a failed one
    GeneratedGraph generated;
    std::vector<SeriesFit> seriesFits;  // the last fit of each series fitted
    CaptureSettings capture;

    // The displayed image, or null.
    const cv::Mat* current() const { return currentImage(images, display.currentImage); }
    // Width and height of the displayed image; (0, 0) without one.
    IntSize imageSize() const {
        const cv::Size size = currentImageSize(images, display.currentImage);
        return {size.width, size.height};
    }
    int32_t pointCount() const { return int32_t(doc.current().points.size()); }
    // What almost every image command is enabled by.
    bool imagePresent() const { return qf::imagePresent(images, display.currentImage); }
};

// The tool the left button works with now: the chosen one while the display
// source is the one it needs (the input for the corners, the output for the
// others), else None.
inline Tool activeTool(const ViewState& s) {
    const int source = s.display.displaySource;
    const Tool tool = s.tools.tool;
    if (tool == Tool::Corners) return source == 1 ? tool : Tool::None;
    return source == 2 ? tool : Tool::None;
}

}  // namespace qf
