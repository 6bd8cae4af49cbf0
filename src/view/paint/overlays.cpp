#include "view/paint/overlays.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "common/date_axis.h"
#include "common/format.h"
#include "graph/graph_geometry.h"
#include "graph/paint_support.h"

namespace qf {

namespace {

using paint::colourOf;
using paint::toQPoint;

bool hasImage(const ViewState& s) {
    const IntSize size = s.imageSize();
    return size.cx > 0 && size.cy > 0;
}

QPoint centreOf(const ViewState& s, IntPoint image) {
    return toQPoint(pixelCentreOf(s.transform, image));
}

// Saves the painter, switches to logical coordinates and to aliased drawing;
// restores everything when it goes.
class LogicalPainter {
public:
    LogicalPainter(QPainter& painter, const ViewState& s) : painter_(painter) {
        painter_.save();
        painter_.translate(-s.transform.scrollPos.x, -s.transform.scrollPos.y);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, false);
        painter_.setBackgroundMode(Qt::TransparentMode);  // label boxes are filled explicitly
        painter_.setBrush(Qt::NoBrush);
    }
    ~LogicalPainter() { painter_.restore(); }
    LogicalPainter(const LogicalPainter&) = delete;
    LogicalPainter& operator=(const LogicalPainter&) = delete;

private:
    QPainter& painter_;
};

void closedPolyline(QPainter& painter, const QPoint (&p)[4]) {
    const QPoint path[] = {p[0], p[1], p[2], p[3], p[0]};
    painter.drawPolyline(path, 5);
}

// A 1 px checkerboard outline inside `box`, aligned to the window so that it
// does not crawl while scrolling. Dark where window x + y is even.
void halftoneFrame(QPainter& painter, const QRect& box, IntPoint scroll) {
    auto dot = [&](int x, int y) {
        const bool dark = ((x - scroll.x + y - scroll.y) & 1) == 0;
        painter.fillRect(QRect(x, y, 1, 1), dark ? Qt::black : Qt::white);
    };
    for (int x = box.left(); x <= box.right(); ++x) {
        dot(x, box.top());
        dot(x, box.bottom());
    }
    for (int y = box.top() + 1; y < box.bottom(); ++y) {
        dot(box.left(), y);
        dot(box.right(), y);
    }
}

// A filled square around a corner with a bracket 2 px outside it on the
// corner's outer side. corner: 0 left-top, 1 right-top, 2 right-bottom,
// 3 left-bottom.
void drawHandle(QPainter& painter, QPoint c, int corner, const QColor& colour, IntPoint scroll) {
    const int l = c.x() - 5, t = c.y() - 5, r = c.x() + 5, b = c.y() + 5;
    const QRect square(l, t, 10, 10);
    painter.fillRect(square, colour);
    halftoneFrame(painter, square, scroll);
    QPoint bracket[3];
    switch (corner) {
        case 0:
            bracket[0] = {r, t - 2}, bracket[1] = {l - 2, t - 2}, bracket[2] = {l - 2, b};
            break;
        case 1:
            bracket[0] = {l, t - 2}, bracket[1] = {r + 2, t - 2}, bracket[2] = {r + 2, b};
            break;
        case 2:
            bracket[0] = {l, b + 2}, bracket[1] = {r + 2, b + 2}, bracket[2] = {r + 2, t};
            break;
        default:
            bracket[0] = {l - 2, t}, bracket[1] = {l - 2, b + 2}, bracket[2] = {r, b + 2};
            break;
    }
    painter.drawPolyline(bracket, 3);
}

// Writes `text` as white on a box of `box`, unless the box would not lie
// wholly inside `visible`: such a label is dropped rather than cut off.
// topLeftFor(cx, cy) places the box from its size.
template <typename TopLeftFor>
void boxedLabel(QPainter& painter, const QString& text, const QColor& box, const IntRect* visible,
                TopLeftFor topLeftFor) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int cx = metrics.horizontalAdvance(text);
    const int cy = metrics.height();
    const QPoint topLeft = topLeftFor(cx, cy);
    if (visible && !(containsPoint(*visible, {topLeft.x(), topLeft.y()}) &&
                     containsPoint(*visible, {topLeft.x() + cx, topLeft.y() + cy}))) {
        return;
    }
    painter.fillRect(QRect(topLeft, QSize(cx, cy)), box);
    painter.setPen(Qt::white);
    paint::drawTextAt(painter, topLeft, text);
}

// Truncation toward zero, saturating where a double leaves the int range.
int32_t truncInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// start + (end - start) * i / n, with the difference first formed through the
// edge's measure as the mapping forms its edges, so grid and mapping agree.
IntPoint gridPoint(IntPoint start, IntPoint end, double measure, int i, int n) {
    const double dx = (double(end.x) - start.x) / measure * measure / n * i + start.x;
    const double dy = (double(end.y) - start.y) / measure * measure / n * i + start.y;
    return {truncInt(dx), truncInt(dy)};
}

double squared(double v) {
    return v * v;
}

double squaredLength(IntPoint a, IntPoint b) {
    return squared(double(b.x) - a.x) + squared(double(b.y) - a.y);
}

// The perspective grid: lines of equal steps on the chart, which the
// transform draws closer together where the chart leans away.
void drawPerspectiveGrid(QPainter& painter, const ViewState& s) {
    const int n = s.guide.mappingGridDivisions;
    if (n <= 0) return;
    for (int i = 0; i < n; ++i) {
        const double f = double(i) / n;
        const auto a = perspectiveGuidePoint(s.doc.mapping, 0.0, f);
        const auto b = perspectiveGuidePoint(s.doc.mapping, 1.0, f);
        const auto c = perspectiveGuidePoint(s.doc.mapping, f, 0.0);
        const auto d = perspectiveGuidePoint(s.doc.mapping, f, 1.0);
        if (!a || !b || !c || !d) return;
        painter.drawLine(centreOf(s, *a), centreOf(s, *b));
        painter.drawLine(centreOf(s, *c), centreOf(s, *d));
    }
}

void drawMappingGrid(QPainter& painter, const ViewState& s) {
    if (s.doc.mapping.method == MappingMethod::Perspective) {
        drawPerspectiveGrid(painter, s);
        return;
    }
    const Quad& q = s.guide.innerQuad;
    const int n = s.guide.mappingGridDivisions;
    const double left2 = squaredLength(q[0], q[3]);
    const double top2 = squaredLength(q[0], q[1]);
    const double bottom2 = squaredLength(q[3], q[2]);
    const double right2 = squared(double(q[1].y) - q[2].y);
    if (n <= 0 || left2 <= 1 || top2 <= 1 || bottom2 <= 1 || right2 <= 1) return;
    const double left = std::sqrt(left2), top = std::sqrt(top2), bottom = std::sqrt(bottom2);
    const double right = std::sqrt(right2);
    auto longEnough = [](QPoint a, QPoint b) {
        return squared(double(b.x()) - a.x()) + squared(double(b.y()) - a.y()) > 64;
    };
    for (int i = 0; i < n; ++i) {
        const QPoint a = centreOf(s, gridPoint(q[0], q[3], left, i, n));
        const QPoint b = centreOf(s, gridPoint(q[1], q[2], right, i, n));
        const QPoint c = centreOf(s, gridPoint(q[0], q[1], top, i, n));
        const QPoint d = centreOf(s, gridPoint(q[3], q[2], bottom, i, n));
        if (longEnough(a, b)) painter.drawLine(a, b);
        if (longEnough(c, d)) painter.drawLine(c, d);
    }
}

QPoint middleOfClient(const ViewState& s, IntSize clientSize) {
    const IntPoint m = windowToLogical(s.transform, IntPoint{clientSize.cx / 2, clientSize.cy / 2});
    return {m.x, m.y};
}

// The axis limits around the frame, as the generated graph writes them but
// always white on boxes, and with "LOG" on every logarithmic axis.
void drawAxisLabels(QPainter& painter, const AxisSettings& a, const IntRect& plot,
                    const QColor& box) {
    auto label = [&](const std::string& text, auto topLeftFor) {
        boxedLabel(painter, QString::fromStdString(text), box, nullptr, topLeftFor);
    };
    const int midX = (plot.left + plot.right) / 2;
    const int midY = (plot.top + plot.bottom) / 2;
    const int below = plot.bottom + 10;
    label(formatAxisEnd(a.xMin, a.xTime),
          [&](int cx, int) { return QPoint(plot.left - cx / 2, below); });
    label(formatAxisEnd(a.xMax, a.xTime),
          [&](int cx, int) { return QPoint(plot.right - cx / 2, below); });
    if (a.xLog) label("LOG", [&](int cx, int) { return QPoint(midX - cx / 2, below); });
    auto leftOf = [&plot](int y) {
        return [&plot, y](int cx, int cy) { return QPoint(plot.left - cx - 5, y - cy / 2); };
    };
    label(formatAxisEnd(a.yMin, a.yTime), leftOf(plot.bottom));
    label(formatAxisEnd(a.yMax, a.yTime), leftOf(plot.top));
    if (a.yLog) label("LOG", leftOf(midY));
}

void paintMappingOverlay(QPainter& painter, const ViewState& s) {
    if (!hasImage(s) || s.tools.tool != Tool::Corners || s.display.displaySource != 1) return;
    LogicalPainter logical(painter, s);
    const QColor colour = colourOf(kMappingOverlayColour);
    painter.setPen(paint::widePen(colour));

    if (s.guide.showMappingGrid) drawMappingGrid(painter, s);
    const Quad& q = s.guide.innerQuad;
    const Quad& p = s.doc.mapping.corners;
    const QPoint guide[4] = {centreOf(s, q[0]), centreOf(s, q[1]), centreOf(s, q[2]),
                             centreOf(s, q[3])};
    const QPoint corners[4] = {centreOf(s, p[0]), centreOf(s, p[1]), centreOf(s, p[2]),
                               centreOf(s, p[3])};
    closedPolyline(painter, guide);
    closedPolyline(painter, corners);
    for (int k = 0; k < 4; ++k) drawHandle(painter, corners[k], k, colour, s.transform.scrollPos);
}

void paintGraphRectOverlay(QPainter& painter, const ViewState& s, IntSize clientSize,
                           const QFont& labelFont) {
    if (!hasImage(s) || s.tools.tool != Tool::GraphRect || s.display.displaySource != 2) return;
    LogicalPainter logical(painter, s);
    const QColor colour = colourOf(kGraphRectOverlayColour);
    painter.setPen(paint::widePen(colour));

    const IntRect& r = s.doc.mapping.graphRect;
    const QPoint g[4] = {centreOf(s, {r.left, r.top}), centreOf(s, {r.right, r.top}),
                         centreOf(s, {r.right, r.bottom}), centreOf(s, {r.left, r.bottom})};
    closedPolyline(painter, g);

    const IntRect& axis = s.doc.axis.axisRect;
    const QPoint a = centreOf(s, {axis.left, axis.bottom});
    const QPoint b = centreOf(s, {axis.right, axis.top});
    painter.drawLine(a.x(), g[0].y(), a.x(), g[3].y());
    painter.drawLine(b.x(), g[0].y(), b.x(), g[3].y());
    painter.drawLine(g[0].x(), a.y(), g[1].x(), a.y());
    painter.drawLine(g[0].x(), b.y(), g[1].x(), b.y());
    for (int k = 0; k < 4; ++k) drawHandle(painter, g[k], k, colour, s.transform.scrollPos);

    // Each name just outside the axis rectangle beside its line, at the
    // middle of the window.
    painter.setFont(paint::aliasedFont(labelFont));
    const IntRect visible = visibleImageRect(s.transform, s.imageSize());
    const QPoint m = middleOfClient(s, clientSize);
    auto label = [&](const char* text, auto topLeftFor) {
        boxedLabel(painter, QString::fromLatin1(text), colour, &visible, topLeftFor);
    };
    label("Xmin", [&](int cx, int) { return QPoint(a.x() - cx, m.y()); });
    label("Xmax", [&](int, int) { return QPoint(b.x(), m.y()); });
    label("Ymin", [&](int, int) { return QPoint(m.x(), a.y()); });
    label("Ymax", [&](int, int cy) { return QPoint(m.x(), b.y() - cy); });
}

void paintSourcePointOverlay(QPainter& painter, const ViewState& s, const QFont& labelFont) {
    // The points show on the working picture whatever the tool; the frame
    // of the axis rectangle and its values only while points are worked on.
    if (!hasImage(s) || s.display.displaySource != 2) return;
    const Tool tool = s.tools.tool;
    const bool pointTool =
        tool == Tool::AddPoints || tool == Tool::ErasePoints || tool == Tool::Extract;
    LogicalPainter logical(painter, s);
    // Inside the axis rectangle a point takes its series' colour (the first
    // series' is kPointInsideColour).
    const QColor inside = colourOf(s.doc.current().colour);
    const QColor outside = colourOf(kPointOutsideColour);
    const IntRect& axis = s.doc.axis.axisRect;
    const IntRect plot = plotRectOf(s.transform, axis);
    painter.setFont(paint::aliasedFont(labelFont));

    if (pointTool) {
        painter.setPen(paint::widePen(outside));
        const QPoint frame[4] = {{plot.left, plot.top},
                                 {plot.right, plot.top},
                                 {plot.right, plot.bottom},
                                 {plot.left, plot.bottom}};
        closedPolyline(painter, frame);
        drawAxisLabels(painter, s.doc.axis, plot, outside);
    }

    // The other series under the active one: thin, smaller and unnumbered,
    // each in its own colour, so that the points being worked on stand out.
    for (std::size_t k = 0; k < s.doc.series.size(); ++k) {
        if (int(k) == s.doc.active) continue;
        painter.setPen(paint::thinPen(colourOf(s.doc.series[k].colour)));
        for (const SourcePoint& p : s.doc.series[k].points) {
            const QPoint c = centreOf(s, {p.h, p.v});
            painter.drawLine(c.x() - 4, c.y() - 4, c.x() + 4, c.y() + 4);
            painter.drawLine(c.x() - 4, c.y() + 4, c.x() + 4, c.y() - 4);
        }
    }

    const IntRect visible = visibleImageRect(s.transform, s.imageSize());
    const QFontMetrics metrics = painter.fontMetrics();
    const int32_t count = std::min(s.pointCount(), kMaxSourcePoints);
    for (int32_t i = 0; i < count; ++i) {
        const SourcePoint& p = s.doc.current().points[static_cast<std::size_t>(i)];
        const bool in = containsPoint(axis, {p.h, p.v});
        const QColor& colour = in ? inside : outside;
        const QPoint c = centreOf(s, {p.h, p.v});
        painter.setPen(paint::widePen(colour));
        painter.drawLine(c.x() - 5, c.y() - 5, c.x() + 5, c.y() + 5);
        painter.drawLine(c.x() - 5, c.y() + 5, c.x() + 5, c.y() - 5);
        if (i == s.selectedPoint && in) {
            // A cross-hair over the whole plot area.
            painter.setPen(paint::thinPen(inside));
            painter.drawLine(c.x(), plot.top, c.x(), plot.bottom);
            painter.drawLine(plot.left, c.y(), plot.right, c.y());
        }
        const QString number = QString::fromStdString(formatD(static_cast<long long>(i) + 1));
        const int cx = metrics.horizontalAdvance(number);
        const IntPoint topLeft{c.x() - cx - 5, c.y()};
        if (containsPoint(visible, topLeft) &&
            containsPoint(visible, {topLeft.x + cx, topLeft.y + metrics.height()})) {
            painter.setPen(colour);
            paint::drawTextAt(painter, QPoint(topLeft.x, topLeft.y), number);
        }
    }

    // The ticks clicked for the calibration: a line across each along its
    // axis's direction (X ticks vertical, Y ticks horizontal).
    painter.setPen(paint::widePen(colourOf(kExtractPreviewColour)));
    for (std::size_t k = 0; k < s.tickPicks.size(); ++k) {
        const QPoint c = centreOf(s, s.tickPicks[k].first);
        if (k < 2)
            painter.drawLine(c.x(), c.y() - 8, c.x(), c.y() + 8);
        else
            painter.drawLine(c.x() - 8, c.y(), c.x() + 8, c.y());
    }

    // The extraction's preview: rings, so that they read apart from the
    // crosses of the points already listed.
    if (s.extractPreview.shown()) {
        painter.setPen(paint::widePen(colourOf(kExtractPreviewColour)));
        painter.setBrush(Qt::NoBrush);
        for (const SourcePoint& p : s.extractPreview.result.points) {
            const QPoint c = centreOf(s, {p.h, p.v});
            painter.drawEllipse(c, 5, 5);
        }
    }
}

// The tick labels the axis reading saw, while the axes are those it left:
// a box round each, the value of each used one above it, the others struck
// through (the multiplier boxed, neither).
void paintReadLabels(QPainter& painter, const ViewState& s, const QFont& labelFont) {
    if (!hasImage(s) || s.display.displaySource != 2 || !s.readLabels ||
        s.readLabels->axis != s.doc.axis)
        return;
    LogicalPainter logical(painter, s);
    painter.setFont(paint::aliasedFont(labelFont));
    const int half = s.transform.cellSize.cx / 2;
    for (const ReadLabel& l : s.readLabels->labels) {
        const QPoint a = centreOf(s, {l.box.left, l.box.top});
        const QPoint b = centreOf(s, {l.box.right, l.box.bottom});
        const QRect box(QPoint(a.x() - half - 2, a.y() - half - 2),
                        QPoint(b.x() + half + 2, b.y() + half + 2));
        const QColor colour =
            colourOf(l.used || l.multiplier ? kLabelUsedColour : kLabelRejectedColour);
        painter.setPen(paint::thinPen(colour));
        painter.drawRect(box);
        if (l.used) {
            boxedLabel(painter, QString::fromStdString(formatG(l.value)), colour, nullptr,
                       [&](int, int cy) { return QPoint(box.left(), box.top() - cy); });
        } else if (!l.multiplier) {
            painter.setPen(paint::widePen(colour));
            const int y = (box.top() + box.bottom()) / 2;
            painter.drawLine(box.left(), y, box.right(), y);
        }
    }
}

}  // namespace

void paintOverlays(QPainter& painter, const ViewState& state, IntSize clientSize,
                   const QFont& labelFont) {
    paintMappingOverlay(painter, state);
    paintGraphRectOverlay(painter, state, clientSize, labelFont);
    paintSourcePointOverlay(painter, state, labelFont);
    paintReadLabels(painter, state, labelFont);
}

}  // namespace qf
