#pragma once
// Everything the image view works on, as plain records: the pictures, which of
// them is shown, zoom and scroll, the mouse tools, the mapping geometry, the
// axes, the source points, the fit settings and results and the graph style.
// The widget adds only what needs Qt (events, painting, dialogs, timers, the
// label font, the cameras and the solver's work area).

#include <cstdint>
#include <opencv2/core.hpp>
#include <optional>
#include <string>

#include "common/axis_settings.h"
#include "common/geometry.h"
#include "common/view_transform.h"
#include "fit/fit_types.h"
#include "fit/readable_results.h"
#include "graph/graph_style.h"
#include "imaging/camera_source.h"
#include "imaging/curve_extraction.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"
#include "points/source_points.h"

namespace qf {

// The mouse tools; a tool command sets one and clears the others.
struct InteractionMode {
    int32_t cornerMode = 1;  // drag the mapping corners (active at start)
    int32_t graphRectMode = 0;
    int32_t addPointsMode = 0;
    int32_t erasePointsMode = 0;
    int32_t extractMode = 0;  // a click on a curve extracts it
    void clear() { cornerMode = graphRectMode = addPointsMode = erasePointsMode = extractMode = 0; }
};

// The points the automatic extraction found, shown apart from the point list
// until they are added to it or dropped.
struct ExtractionPreview {
    std::optional<IntPoint> seed;  // image; the click they come from, none without a preview
    ExtractionResult result;
    bool shown() const { return seed.has_value(); }
};

// The left-button gesture in progress.
struct DragState {
    IntPoint leftDownPoint{-1, -1};  // window; (-1, -1) after release
    int32_t selectedCorner = 0;      // 1..4 while a corner is dragged, else 0
    int32_t selectedHandle = 0;      // graph-rectangle handle 1..8, else 0
    bool dragPending = false;        // pressed on something draggable, not moved yet
    bool dragActive = false;
    IntPoint dragStart;    // image
    IntPoint dragCurrent;  // image
    IntRect rubberBand;    // window; the band drawn last
    // What the arrow keys move: the corner (1..4) and the graph-rectangle
    // handle (1..8) last grabbed with their tools; 0 none yet.
    int32_t lastCorner = 0;
    int32_t lastHandle = 0;
};

// What the working picture was made from: which file, and whether (and with
// which geometry) it is the mapping of the input.
struct PictureSource {
    std::string imagePath;                   // empty: no picture, or a camera's frame
    std::optional<MappingGeometry> applied;  // none: the working picture is the input
};

struct ViewState {
    ImagePair images;
    PictureSource picture;
    DisplaySource display;
    ViewTransform transform;
    InteractionMode tools;
    DragState drag;
    MappingQuad mapping;
    AxisSettings axis;  // its axisRect is the axis rectangle
    SourcePointList points;
    bool greyMode = true;
    uint32_t pixelGridColour = 0xFF0000;  // 0x00BBGGRR: blue
    bool showPixelGrid = false;
    bool showMagnifier = true;  // the loupe while placing points, corners and edges
    ExtractionSettings extraction;
    ExtractionPreview extractPreview;
    FitSettings fit;
    FitResult fitResult;
    FitDetails fitDetails;  // of the last successful fit; empty after a failed one
    GeneratedGraph generated;
    GraphStyle graphStyle;
    CaptureSettings capture;
    IntSize graphGridDivisions{10, 10};

    // The displayed image, or null.
    const cv::Mat* current() const { return currentImage(images, display.currentImage); }
    // Width and height of the displayed image; (0, 0) without one.
    IntSize imageSize() const {
        const cv::Size size = currentImageSize(images, display.currentImage);
        return {size.width, size.height};
    }
    // What almost every image command is enabled by.
    bool imagePresent() const { return qf::imagePresent(images, display.currentImage); }
};

}  // namespace qf
