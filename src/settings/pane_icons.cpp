#include "settings/pane_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace qf {
namespace {

// Draws on a 16 x 16 grid at the given pixel size.
QPixmap drawn(int size, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    return pixmap;
}

QIcon iconOf(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int size : {16, 24, 32}) icon.addPixmap(drawn(size, draw));
    return icon;
}

const QColor kInk(40, 40, 40);

}  // namespace

QIcon expandAllIcon() {
    return iconOf([](QPainter& p) {
        // Two boxed plus signs over a tree's stem: every group opened.
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(QColor(250, 250, 250));
        for (double y : {1.5, 9.5}) {
            p.drawRect(QRectF(1.5, y, 5, 5));
            p.drawLine(QPointF(2.5, y + 2.5), QPointF(5.5, y + 2.5));
            p.drawLine(QPointF(4, y + 1), QPointF(4, y + 4));
            p.drawLine(QPointF(8, y + 2.5), QPointF(14.5, y + 2.5));
        }
        p.setPen(QPen(QColor(120, 120, 120), 1.0, Qt::DotLine));
        p.drawLine(QPointF(4, 6.5), QPointF(4, 9.5));
    });
}

QIcon runFitIcon() {
    return iconOf([](QPainter& p) {
        // Points with the fitted curve through them.
        p.setPen(QPen(kInk, 1.0));
        p.drawLine(QPointF(1.5, 1.5), QPointF(1.5, 14.5));
        p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        for (const QPointF& c : {QPointF(4, 11), QPointF(7, 8.5), QPointF(10, 7), QPointF(13, 3)})
            p.drawRect(QRectF(c.x() - 1.2, c.y() - 1.2, 2.4, 2.4));
        p.setPen(QPen(QColor(210, 40, 40), 1.4));
        p.setBrush(Qt::NoBrush);
        QPainterPath path(QPointF(3, 12.5));
        path.cubicTo(QPointF(7, 7), QPointF(10, 8), QPointF(14, 2));
        p.drawPath(path);
    });
}

}  // namespace qf
