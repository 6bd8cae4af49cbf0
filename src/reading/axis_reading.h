#pragma once
// Calibration from the chart itself: the plot frame, the tick labels beside
// the bottom and left axes read by text recognition, and for each axis the
// linear or logarithmic scale the labels agree on.

#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "common/axis_settings.h"
#include "common/geometry.h"
#include "reading/axis_fit.h"
#include "reading/frame_corners.h"
#include "reading/plot_frame.h"

namespace qf {

enum class LabelAxis { X, Y };

// One piece of text read beside an axis: a tick label, or the axis's
// multiplier ("×10⁴", "1e6" at the axis end) or offset ("+1e3", added to
// the labels; its note says so).
struct TickLabel {
    LabelAxis axis = LabelAxis::X;
    IntRect box;              // on the picture read
    std::string text;         // as recognised, '^' before a raised exponent
    bool parsed = false;      // the text is a number
    double value = 0;         // the number, the axis's multiplier and offset applied
    double position = 0;      // its tick's column (X) or row (Y)
    bool onTick = false;      // the position is a tick mark's, not the label's own centre
    bool multiplier = false;  // the axis's multiplier or offset, not a tick label
    bool used = false;        // the calibration agrees with it
    std::string note;         // why not used, in English
};

// An axis's result: ok, or why the axis could not be read.
struct AxisOutcome {
    bool ok = false;
    std::string reason;  // in English; the window translates
    double rms = 0;      // the labels' distance from the fitted scale, pixels
    int labelsUsed = 0;
};

struct AxisReading {
    PlotFrame frame;
    // The axis rectangle, values at its edges and scales: meaningful for
    // each axis whose outcome is ok (the other axis keeps AxisSettings'
    // defaults).
    AxisSettings axis;
    AxisOutcome x, y;
    AxisFit xFit, yFit;  // value at any column (X) or row (Y)
    std::vector<TickLabel> labels;
    double ocrSeconds = 0;  // of the whole time, what text recognition took
    bool ok() const { return x.ok && y.ok; }
};

// Sets the reading's axis values (and scales) to those at the edges given,
// columns and rows of the picture read to a fraction of a pixel, for each
// axis read; an axis that cannot carry them is refused.
void setAxisValuesAt(AxisReading& r, double left, double top, double right, double bottom);

// Reads the axes of a straight chart (the working picture).
AxisReading readAxes(const cv::Mat& workingPicture);

// Reads the axes of a photographed chart: finds the frame's corners, reads
// the picture straightened by them (the frame onto a rectangle of its own
// size), and gives the values at the frame's edges, so that mapping these
// corners onto a graph rectangle and taking that as the axis rectangle
// calibrates the straightened picture. `reading.axis.axisRect` is the
// rectangle on the straightened picture returned in `straightened`.
struct PhotoReading {
    FrameCorners corners;
    AxisReading reading;
    cv::Mat straightened;
};
PhotoReading readPhotographedAxes(const cv::Mat& photo);

// A reading made on a part of a larger picture, moved to that picture's
// pixels: the part's pixel (0, 0) is the larger one's (dx, dy).
void moveReading(AxisReading& reading, int dx, int dy);

// The same through corners already found (or moved): the straightening and
// the values at the frame's edges follow `corners.precise`.
PhotoReading readAxesThroughCorners(const cv::Mat& photo, const FrameCorners& corners);

}  // namespace qf
