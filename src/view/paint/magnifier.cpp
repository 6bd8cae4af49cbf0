#include "view/paint/magnifier.h"

#include <algorithm>

#include "graph/paint_support.h"
#include "view/paint/overlays.h"

namespace qf {

std::optional<Loupe> loupeFor(const ViewState& s, std::optional<IntPoint> pointer, IntSize client) {
    if (!s.showMagnifier || !pointer || !s.imagePresent()) return std::nullopt;
    if (s.transform.cellSize.cx >= kLoupeScale) return std::nullopt;
    const DragState& d = s.drag;
    std::optional<IntPoint> centre;
    switch (activeTool(s)) {
        case Tool::AddPoints:
        case Tool::Extract:
        case Tool::Ticks: {
            const ImagePointResult p = ImagePointOf(s.transform, *pointer, client, s.imageSize());
            if (p.ok) centre = p.point;
            break;
        }
        case Tool::Corners:
            if (d.dragActive && isCorner(d.selectedCorner))
                centre = d.dragPending ? d.dragStart : d.dragCurrent;
            break;
        case Tool::GraphRect:
            if (d.dragActive && d.selectedHandle != GraphRectHandle::None)
                centre = d.dragPending ? d.dragStart : d.dragCurrent;
            break;
        default:
            break;
    }
    if (!centre) return std::nullopt;

    // Below right of the pointer, else below left, above right, above left:
    // the first place where it fits whole.
    const IntPoint q = *pointer;
    const int near = kLoupeOffset, far = kLoupeOffset + kLoupeSide;
    const IntPoint places[4] = {{q.x + near, q.y + near},
                                {q.x - far, q.y + near},
                                {q.x + near, q.y - far},
                                {q.x - far, q.y - far}};
    for (const IntPoint& p : places) {
        if (p.x >= 0 && p.y >= 0 && p.x + kLoupeSide <= client.cx && p.y + kLoupeSide <= client.cy)
            return Loupe{*centre, {p.x, p.y, p.x + kLoupeSide, p.y + kLoupeSide}};
    }
    // A window too small to hold it beside the pointer: none, rather than
    // one that hides what is being placed.
    return std::nullopt;
}

void paintLoupe(QPainter& painter, const ViewState& s, const Loupe& loupe) {
    const cv::Mat* image = s.current();
    if (!image || image->empty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor beyond(96, 96, 96);
    for (int dy = -kLoupeRadius; dy <= kLoupeRadius; ++dy) {
        const int y = loupe.centre.y + dy;
        const bool rowInside = y >= 0 && y < image->rows;
        const cv::Vec3b* row = rowInside ? image->ptr<cv::Vec3b>(y) : nullptr;
        for (int dx = -kLoupeRadius; dx <= kLoupeRadius; ++dx) {
            const int x = loupe.centre.x + dx;
            QColor c = beyond;
            if (row && x >= 0 && x < image->cols) c = QColor(row[x][2], row[x][1], row[x][0]);
            painter.fillRect(loupe.box.left + (dx + kLoupeRadius) * kLoupeScale,
                             loupe.box.top + (dy + kLoupeRadius) * kLoupeScale, kLoupeScale,
                             kLoupeScale, c);
        }
    }
    // The centre pixel: a red frame just outside its square with a white
    // one outside that, readable on any picture; cross-hair arms lead to it.
    const int cx = loupe.box.left + kLoupeRadius * kLoupeScale;
    const int cy = loupe.box.top + kLoupeRadius * kLoupeScale;
    const QColor red = paint::colourOf(kPointInsideColour);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
    const auto frame = [&](int grow, const QColor& colour) {
        const QRect r(cx - grow, cy - grow, kLoupeScale + 2 * grow, kLoupeScale + 2 * grow);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
    };
    frame(1, red);
    frame(2, Qt::white);
    const int mid = kLoupeScale / 2;
    painter.fillRect(QRect(cx + mid, loupe.box.top, 1, kLoupeRadius * kLoupeScale - 3), red);
    painter.fillRect(QRect(cx + mid, cy + kLoupeScale + 3, 1, kLoupeRadius * kLoupeScale - 3), red);
    painter.fillRect(QRect(loupe.box.left, cy + mid, kLoupeRadius * kLoupeScale - 3, 1), red);
    painter.fillRect(QRect(cx + kLoupeScale + 3, cy + mid, kLoupeRadius * kLoupeScale - 3, 1), red);
    // The loupe's own border.
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(loupe.box.left - 1, loupe.box.top - 1, kLoupeSide + 1, kLoupeSide + 1);
    painter.restore();
}

}  // namespace qf
