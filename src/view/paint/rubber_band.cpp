#include "view/paint/rubber_band.h"

#include "graph/paint_support.h"

namespace qf {

using Polyline = std::vector<IntPoint>;

void paintRubberBand(QPainter& painter, const ViewState& state) {
    const std::vector<Polyline> lines = rubberBandLines(state);
    if (lines.empty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(paint::widePen(Qt::red));  // the colour has no effect under inversion
    painter.setBrush(Qt::NoBrush);
    for (const Polyline& line : lines) {
        QPolygon polygon;
        for (IntPoint p : line) polygon << paint::toQPoint(p);
        painter.drawPolyline(polygon);
    }
    painter.restore();
}

}  // namespace qf
