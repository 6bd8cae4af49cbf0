#include "view/paint/view_paint.h"

#include "graph/renderer.h"
#include "view/paint/overlays.h"
#include "view/paint/rubber_band.h"

namespace qf {

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
    paintOverlays(painter, state, clientSize, labelFont);
    if (state.display.showGeneratedGraph) {
        const GraphScene scene = graphSceneOf(state, labelFont);
        // The renderer works in logical coordinates.
        painter.save();
        painter.translate(-state.transform.scrollPos.x, -state.transform.scrollPos.y);
        drawGeneratedGraph(painter, scene, state.doc.graph.colour, state.doc.graph.colour);
        painter.restore();
    }
    paintRubberBand(painter, state);
}

}  // namespace qf
