#include "view/paint/view_paint.h"

#include "graph/renderer.h"
#include "view/paint/overlays.h"
#include "view/paint/rubber_band.h"

namespace qf {

namespace {

constexpr double kGridOverPictureOpacity = 0.35;

}  // namespace

GraphScene graphSceneOf(const ViewState& state, const QFont& labelFont) {
    GraphScene scene;
    scene.imageSize = state.imageSize();
    scene.axis = state.doc.axis;
    scene.graph = &state.generated;
    scene.style = state.doc.graph;
    scene.displaySource = state.display.displaySource;
    scene.labelFont = labelFont;
    scene.view = state.transform;
    return scene;
}

void paintView(QPainter& painter, const ViewState& state, IntSize clientSize,
               const DisplayColours& colours, const QFont& labelFont, ReducedImageCache* cache) {
    paintImageDisplay(painter, state, clientSize, colours, cache);
    if (state.display.showGeneratedGraph) {
        const GraphScene scene = graphSceneOf(state, labelFont);
        const uint32_t colour = state.doc.graph.colour;
        // The renderer works in logical coordinates.
        painter.save();
        painter.translate(-state.transform.scrollPos.x, -state.transform.scrollPos.y);
        if (state.display.displaySource == 0) {
            drawGeneratedGraph(painter, scene, colour, colour);
        } else {
            // Over a picture the grid is faint, so that the chart's own lines
            // show through, and the rest lies under the points and handles.
            GraphScene grid = scene;
            grid.style.showMarkers = grid.style.showLines = grid.style.showNumbers = false;
            painter.setOpacity(kGridOverPictureOpacity);
            drawGeneratedGraph(painter, grid, colour, colour);
            painter.setOpacity(1.0);
            GraphScene rest = scene;
            rest.style.showGrid = false;
            drawGeneratedGraph(painter, rest, colour, colour);
        }
        painter.restore();
    }
    paintOverlays(painter, state, clientSize, labelFont);
    paintRubberBand(painter, state);
}

}  // namespace qf
