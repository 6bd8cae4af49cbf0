#pragma once
// The generated graph as a small chart on the axis rectangle: frame, grid
// (linear divisions or decades), the four limit labels, and the fitted points
// as markers, lines and numbers. Draws on any QPainter in logical coordinates
// (those of the zoomed image: window + scroll position), so the view paints it
// at any zoom and the image file at 1:1 with the same code.
//
// No antialiasing. Pen pixels: a 1 px line covers exactly the pixels from its
// start up to, not including, its end; a 2 px line at coordinate c covers c - 1
// and c across its length, with round caps and joins.

#include <QFont>
#include <QPainter>
#include <cstdint>

#include "common/axis_settings.h"
#include "common/view_transform.h"
#include "fit/fit_types.h"
#include "graph/graph_style.h"

namespace qf {

// What the renderer reads from the view.
struct GraphScene {
    IntSize imageSize;  // the current image; zero width or height: draw nothing
    AxisSettings axis;
    const GeneratedGraph* graph = nullptr;  // null or empty: frame and labels only
    GraphStyle style;
    int32_t displaySource = 1;  // 0 no image shown (white area), 1 input, 2 processing output
    QFont labelFont;
    ViewTransform view;
};

// "MS UI Gothic", 12 px, normal weight, falling back to the Japanese fonts
// Linux desktops have.
QFont defaultLabelFont();

// Draws the graph on the axes' linear or logarithmic scales in the style's
// grid, markers, lines and numbers. dataColour: markers, and lines and
// numbers of points inside the plot rectangle; axisColour: grid, frame,
// labels, and lines and numbers of points outside it. Colours are 0x00BBGGRR.
// The painter's state is restored afterwards, clip included. Labels on a
// display source of 0 stand on boxes of the painter's background.
void drawGeneratedGraph(QPainter& painter, const GraphScene& scene, uint32_t dataColour,
                        uint32_t axisColour);

}  // namespace qf
