#include "view/paint/view_paint.h"

#include "graph/renderer.h"
#include "view/paint/overlays.h"
#include "view/paint/rubber_band.h"
#include "view/series_fits.h"

namespace qf {

namespace {

constexpr double kGridOverPictureOpacity = 0.35;
constexpr double kOtherSeriesOpacity = 0.6;

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
        // Of several series each curve is drawn in its series' colour; a lone
        // series' in the graph's own.
        const bool several = state.doc.series.size() > 1;
        const uint32_t data = several ? state.doc.current().colour : colour;
        // The renderer works in logical coordinates.
        painter.save();
        painter.translate(-state.transform.scrollPos.x, -state.transform.scrollPos.y);
        if (several) {
            // The other fitted series under the active one, fainter.
            GraphScene other = scene;
            other.style.showGrid = other.style.showMarkers = other.style.showNumbers = false;
            painter.setOpacity(kOtherSeriesOpacity);
            for (std::size_t k = 0; k < state.doc.series.size(); ++k) {
                if (int(k) == state.doc.active) continue;
                const SeriesFit* fit = fitOfSeries(state, state.doc.series[k]);
                if (!fit) continue;
                other.graph = &fit->generated;
                drawGeneratedGraph(painter, other, state.doc.series[k].colour, colour);
            }
            painter.setOpacity(1.0);
        }
        if (state.display.displaySource == 0) {
            drawGeneratedGraph(painter, scene, data, colour);
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
            drawGeneratedGraph(painter, rest, data, colour);
        }
        painter.restore();
    }
    paintOverlays(painter, state, clientSize, labelFont);
    paintRubberBand(painter, state);
}

}  // namespace qf
