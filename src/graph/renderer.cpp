#include "graph/renderer.h"

#include <QBrush>
#include <QFontMetrics>
#include <QPen>
#include <QString>
#include <algorithm>
#include <optional>
#include <string>

#include "common/date_axis.h"
#include "common/format.h"
#include "graph/graph_geometry.h"
#include "graph/paint_support.h"

namespace qf {

namespace {

using paint::colourOf;
using paint::drawTextAt;
using paint::thinPen;
using paint::toQRect;
using paint::widePen;

struct Flags {
    bool grid, markers, lines, numbers;
};

bool isEmpty(const IntRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

void drawGrid(QPainter& painter, const GraphScene& scene, const IntRect& plot, const QColor& axis,
              bool xLog, bool yLog) {
    const QPen thin = thinPen(axis);
    const QPen decade = widePen(axis);
    painter.setPen(thin);
    if (!xLog) {
        for (int32_t x : linearGridLines(plot.left, plot.width())) {
            painter.drawLine(x, plot.top, x, plot.bottom);
        }
    }
    if (!yLog) {
        for (int32_t y : linearGridLines(plot.top, plot.height())) {
            painter.drawLine(plot.left, y, plot.right, y);
        }
    }
    if (xLog) {
        const double dMin = decadeExponent(scene.axis.xMin);
        const double dMax = decadeExponent(scene.axis.xMax);
        for (const DecadeLine& line : decadeLinesX(dMin, dMax, plot.left, plot.right)) {
            painter.setPen(line.decade ? decade : thin);
            painter.drawLine(line.pos, plot.top, line.pos, plot.bottom);
        }
    }
    if (yLog) {
        const double dMin = decadeExponent(scene.axis.yMin);
        const double dMax = decadeExponent(scene.axis.yMax);
        for (const DecadeLine& line : decadeLinesY(dMin, dMax, plot.top, plot.bottom)) {
            painter.setPen(line.decade ? decade : thin);
            painter.drawLine(plot.left, line.pos, plot.right, line.pos);
        }
    }
}

void drawFrame(QPainter& painter, const IntRect& plot, const QColor& axis) {
    painter.setPen(widePen(axis));
    const QPoint corners[] = {{plot.left, plot.top},
                              {plot.right, plot.top},
                              {plot.right, plot.bottom},
                              {plot.left, plot.bottom},
                              {plot.left, plot.top}};
    painter.drawPolyline(corners, 5);
}

// The axis limits (and "LOG" on a log axis without grid). Over an image the
// labels are white on boxes of the graph colour so they stay readable; on the
// white area they are in the graph colour on the surface's background.
void drawLabels(QPainter& painter, const GraphScene& scene, const IntRect& plot, const QColor& axis,
                bool xLog, bool yLog, bool grid) {
    const bool onColour = scene.displaySource != 0;
    const QBrush box = onColour ? QBrush(axis) : painter.background();
    painter.setPen(onColour ? QColor(Qt::white) : axis);
    const QFontMetrics metrics = painter.fontMetrics();
    const int cy = metrics.height();
    auto label = [&](const std::string& text, auto topLeftFor) {
        const QString q = QString::fromStdString(text);
        const int cx = metrics.horizontalAdvance(q);
        const QPoint topLeft = topLeftFor(cx);
        painter.fillRect(QRect(topLeft, QSize(cx, cy)), box);
        drawTextAt(painter, topLeft, q);
    };
    const AxisSettings& a = scene.axis;
    const int midX = (plot.left + plot.right) / 2;
    const int midY = (plot.top + plot.bottom) / 2;
    const int below = plot.bottom + 10;
    label(formatAxisEnd(a.xMin, a.xTime),
          [&](int cx) { return QPoint(plot.left - cx / 2, below); });
    label(formatAxisEnd(a.xMax, a.xTime),
          [&](int cx) { return QPoint(plot.right - cx / 2, below); });
    if (xLog && !grid) label("LOG", [&](int cx) { return QPoint(midX - cx / 2, below); });
    auto leftOf = [&](int y) {
        return [&plot, y, cy](int cx) { return QPoint(plot.left - cx - 5, y - cy / 2); };
    };
    label(formatAxisEnd(a.yMin, a.yTime), leftOf(plot.bottom));
    label(formatAxisEnd(a.yMax, a.yTime), leftOf(plot.top));
    if (yLog && !grid) label("LOG", leftOf(midY));
}

void drawPoints(QPainter& painter, const GraphScene& scene, const IntRect& plot, const QColor& data,
                const QColor& axis, bool xLog, bool yLog, Flags flags) {
    const GeneratedGraph* g = scene.graph;
    if (!g || g->generatedX.empty() || g->generatedY.empty()) return;
    const IntRect visible = visibleImageRect(scene.view, scene.imageSize);
    if (isEmpty(visible)) return;
    painter.setClipRect(toQRect(visible), Qt::IntersectClip);
    if (scene.displaySource == 0) {
        if (isEmpty(plot)) return;
        painter.setClipRect(toQRect(plot), Qt::IntersectClip);
    }

    const QPen inPen = widePen(data);
    const QPen outPen = widePen(axis);
    const QFontMetrics metrics = painter.fontMetrics();
    const std::size_t count = std::min({static_cast<std::size_t>(std::max(g->generatedCount, 0)),
                                        g->generatedX.size(), g->generatedY.size()});
    std::optional<QPoint> previous;  // none at the start and after an undrawable point
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<IntPoint> at =
            mapGeneratedPoint(g->generatedX[i], g->generatedY[i], scene.axis, xLog, yLog, plot);
        if (!at) {
            previous.reset();
            continue;
        }
        const QPoint p(at->x, at->y);
        const bool inside = containsPoint(plot, *at);
        if (flags.markers) painter.fillRect(QRect(p.x() - 3, p.y() - 3, 6, 6), data);
        if (flags.lines) {
            if (previous) {
                painter.setPen(inside ? inPen : outPen);
                painter.drawLine(*previous, p);
            }
            previous = p;
        }
        if (flags.numbers) {
            const QString text = QString::fromStdString(formatD(static_cast<long long>(i) + 1));
            const int cx = metrics.horizontalAdvance(text);
            const IntPoint topLeft{at->x - cx - 5, at->y};
            const IntPoint bottomRight{at->x - 5, at->y + metrics.height()};
            // Dropped rather than cut off when it would leave the visible image.
            if (containsPoint(visible, topLeft) && containsPoint(visible, bottomRight)) {
                painter.setPen(inside ? data : axis);
                drawTextAt(painter, QPoint(topLeft.x, topLeft.y), text);
            }
        }
    }
}

void drawGraph(QPainter& painter, const GraphScene& scene, uint32_t dataColour, uint32_t axisColour,
               Flags flags, bool xLog, bool yLog) {
    if (scene.imageSize.cx <= 0 || scene.imageSize.cy <= 0) return;
    const QColor data = colourOf(dataColour);
    const QColor axis = colourOf(axisColour);
    const IntRect plot = plotRectOf(scene.view, scene.axis.axisRect);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);  // label boxes are filled explicitly
    painter.setFont(paint::aliasedFont(scene.labelFont));

    if (flags.grid) drawGrid(painter, scene, plot, axis, xLog, yLog);
    drawFrame(painter, plot, axis);
    drawLabels(painter, scene, plot, axis, xLog, yLog, flags.grid);
    drawPoints(painter, scene, plot, data, axis, xLog, yLog, flags);
    painter.restore();
}

}  // namespace

QFont defaultLabelFont() {
    QFont font;
    font.setFamilies({"MS UI Gothic", "IPAGothic", "Noto Sans CJK JP"});
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

void drawGeneratedGraph(QPainter& painter, const GraphScene& scene, uint32_t dataColour,
                        uint32_t axisColour) {
    const GraphStyle& s = scene.style;
    drawGraph(painter, scene, dataColour, axisColour,
              {s.showGrid, s.showMarkers, s.showLines, s.showNumbers}, scene.axis.xLog,
              scene.axis.yLog);
}

}  // namespace qf
