#pragma once
// Small drawing helpers shared by the generated graph and the view: colours given as
// 0x00BBGGRR, and the pens whose pixels every drawing of the program shares.

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QString>
#include <cstdint>

#include "common/geometry.h"

namespace qf::paint {

inline QColor colourOf(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// 2 px: covers the coordinate and the pixel before it, round caps and joins.
inline QPen widePen(const QColor& colour) {
    return QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// 1 px, cosmetic, flat caps: the end pixel of each line is left out.
inline QPen thinPen(const QColor& colour) {
    QPen pen(colour, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

inline QPoint toQPoint(IntPoint p) {
    return QPoint(p.x, p.y);
}

inline QRect toQRect(const IntRect& r) {
    return QRect(QPoint(r.left, r.top), QSize(r.width(), r.height()));
}

// Text with its top-left at `topLeft`, as the labels are placed.
inline void drawTextAt(QPainter& painter, QPoint topLeft, const QString& text) {
    painter.drawText(topLeft + QPoint(0, painter.fontMetrics().ascent()), text);
}

// The label font without antialiasing, so every text pixel is a pen colour.
inline QFont aliasedFont(const QFont& font) {
    QFont f = font;
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

}  // namespace qf::paint
