#include "app/icons.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <array>
#include <initializer_list>

namespace qf {

namespace {

const QColor kInk(40, 40, 40);
const QColor kBlue(30, 90, 200);
const QColor kRed(210, 40, 40);
const QColor kGreen(30, 150, 60);
const QColor kPaper(250, 250, 250);
const QColor kPreview(200, 0, 200);  // the extraction's preview, as the view draws it

// Everything below draws on a 16 x 16 grid; the painter scales it.
void pen(QPainter& p, const QColor& c, double w = 1.0) {
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void picture(QPainter& p, bool grey) {
    pen(p, kInk);
    p.setBrush(grey ? QColor(200, 200, 200) : QColor(170, 215, 250));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(grey ? QColor(110, 110, 110) : QColor(60, 150, 60));
    p.drawPolygon(QPolygonF{{2, 13}, {6, 7}, {9, 11}, {11, 9}, {14, 13}});
    p.setBrush(grey ? QColor(230, 230, 230) : QColor(250, 200, 40));
    p.drawEllipse(QPointF(11, 5.5), 1.6, 1.6);
}

void disk(QPainter& p, const QColor& body) {
    pen(p, kInk);
    p.setBrush(body);
    p.drawPolygon(QPolygonF{{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}});
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 1.5, 7, 5));
    p.setBrush(QColor(220, 220, 220));
    p.drawRect(QRectF(3.5, 9, 9, 5.5));
}

void curve(QPainter& p, const QColor& c, double w) {
    pen(p, c, w);
    p.setBrush(Qt::NoBrush);
    QPainterPath path(QPointF(3, 12));
    path.cubicTo(QPointF(6, 3), QPointF(9, 12), QPointF(14, 3));
    p.drawPath(path);
}

void axes(QPainter& p) {
    pen(p, kInk);
    p.drawLine(QPointF(2.5, 1.5), QPointF(2.5, 13.5));
    p.drawLine(QPointF(2.5, 13.5), QPointF(14.5, 13.5));
}

void camera(QPainter& p, int device) {
    pen(p, kInk);
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(2.5, 4.5, 3, 1.5));
    p.drawRoundedRect(QRectF(0.5, 6, 10, 7.5), 1.2, 1.2);
    p.setBrush(QColor(170, 215, 250));
    p.drawEllipse(QPointF(5.5, 9.75), 2.3, 2.3);
    if (device >= 0) {
        // The device number has to stay readable at 16 pixels.
        QFont f = p.font();
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kBlue);
        p.drawText(QRectF(9.5, 0, 7, 10), Qt::AlignCenter, QString::number(device));
    }
}

void magnifier(QPainter& p, bool plus) {
    pen(p, kInk, 1.2);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
    pen(p, kInk, 2.4);
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    pen(p, kBlue, 1.4);
    p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
    if (plus) p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

void handle(QPainter& p, QPointF c, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(c.x() - 1.5, c.y() - 1.5, 3, 3));
}

void crosshair(QPainter& p) {
    pen(p, kInk);
    p.drawLine(QPointF(6, 1), QPointF(6, 11));
    p.drawLine(QPointF(1, 6), QPointF(11, 6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(6, 6), 3, 3);
}

// The rings of the points the extraction found along a curve.
void foundPoints(QPainter& p, std::initializer_list<QPointF> rings) {
    pen(p, kPreview, 1.2);
    p.setBrush(Qt::NoBrush);
    for (QPointF d : rings) p.drawEllipse(d, 1.6, 1.6);
}

void dots(QPainter& p, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    for (QPointF d : {QPointF(4, 10), QPointF(6.5, 6), QPointF(9.5, 8.5), QPointF(12.5, 4)})
        p.drawEllipse(d, 1.3, 1.3);
}

// Small badge in the lower right corner of a save icon, telling what is saved.
void badge(QPainter& p, CommandIcon what) {
    p.save();
    p.translate(7, 7);
    p.scale(0.55, 0.55);
    pen(p, kInk);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
    if (what == CommandIcon::SaveSourcePoints) {
        dots(p, kRed);
    } else if (what == CommandIcon::SaveGeneratedPoints) {
        pen(p, kBlue, 1.5);
        for (double y : {4.0, 8.0, 12.0}) p.drawLine(QPointF(3, y), QPointF(13, y));
    } else {
        curve(p, kRed, 2.0);
    }
    p.restore();
}

// A page with a folded corner: the project file.
void page(QPainter& p) {
    pen(p, kInk);
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF{{3.5, 1.5}, {10, 1.5}, {13.5, 5}, {13.5, 14.5}, {3.5, 14.5}});
    p.drawPolyline(QPolygonF{{10, 1.5}, {10, 5}, {13.5, 5}});
    curve(p, kRed, 1.2);
}

// A round arrow turning left (undo) or right (redo).
void turnArrow(QPainter& p, bool back) {
    p.save();
    if (!back) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    pen(p, kBlue, 2.0);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 10, 9), 90 * 16, -200 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF{{1, 4}, {7, 0.5}, {7, 7.5}});
    p.restore();
}

void draw(QPainter& p, CommandIcon icon) {
    using I = CommandIcon;
    switch (icon) {
        case I::None:
            break;
        case I::Open:
            pen(p, QColor(150, 110, 20));
            p.setBrush(QColor(240, 200, 90));
            p.drawPolygon(
                QPolygonF{{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}});
            p.setBrush(QColor(250, 225, 130));
            p.drawPolygon(QPolygonF{{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13.5, 13.5}});
            break;
        case I::SaveImage:
            disk(p, kBlue);
            break;
        case I::About:
            pen(p, kBlue);
            p.setBrush(kBlue);
            p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
            {
                QFont f = p.font();
                f.setPixelSize(11);
                f.setBold(true);
                p.setFont(f);
                p.setPen(Qt::white);
                p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
            }
            break;
        case I::Camera0:
        case I::Camera1:
        case I::Camera2:
        case I::Camera3:
            camera(p, static_cast<int>(icon) - static_cast<int>(I::Camera0));
            break;
        case I::CaptureSettings:
            camera(p, -1);
            pen(p, kInk);
            p.setBrush(QColor(250, 200, 40));
            p.drawEllipse(QPointF(12.5, 12.5), 3, 3);
            p.setBrush(kInk);
            p.drawEllipse(QPointF(12.5, 12.5), 1, 1);
            break;
        case I::InputImage:
            picture(p, false);
            break;
        case I::OutputImage:
            picture(p, true);
            pen(p, kInk, 0.6);
            for (double x : {5.0, 8.0, 11.0}) p.drawLine(QPointF(x, 3), QPointF(x, 13));
            for (double y : {6.0, 10.0}) p.drawLine(QPointF(2, y), QPointF(14, y));
            break;
        case I::GeneratedGraph:
            axes(p);
            curve(p, kRed, 1.6);
            break;
        case I::ZoomIn:
        case I::ZoomOut:
            magnifier(p, icon == I::ZoomIn);
            break;
        case I::ZoomFit: {
            // A picture with arrows out to the four corners.
            picture(p, false);
            pen(p, kBlue, 1.4);
            for (const QPointF& d :
                 {QPointF(-1, -1), QPointF(1, -1), QPointF(1, 1), QPointF(-1, 1)}) {
                const QPointF tip = QPointF(8, 8) + d * 6.5;
                p.drawLine(QPointF(8, 8) + d * 2.5, tip);
                p.drawLine(tip, tip - QPointF(d.x() * 3, 0));
                p.drawLine(tip, tip - QPointF(0, d.y() * 3));
            }
            break;
        }
        case I::PixelGrid:
            pen(p, kBlue);
            p.setBrush(kPaper);
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            for (double v : {4.75, 8.0, 11.25}) {
                p.drawLine(QPointF(v, 1.5), QPointF(v, 14.5));
                p.drawLine(QPointF(1.5, v), QPointF(14.5, v));
            }
            break;
        case I::Grey: {
            QLinearGradient g(0, 0, 16, 0);
            g.setColorAt(0, Qt::black);
            g.setColorAt(1, Qt::white);
            pen(p, kInk);
            p.setBrush(g);
            p.drawRect(QRectF(1.5, 3.5, 13, 9));
            break;
        }
        case I::MappingCorners: {
            const QPolygonF quad{{3, 3}, {13, 2}, {14, 13}, {2, 12}};
            pen(p, kBlue);
            p.setBrush(QColor(170, 215, 250));
            p.drawPolygon(quad);
            for (QPointF c : quad) handle(p, c, kRed);
            break;
        }
        case I::DetectFrame: {
            // The corners' quadrilateral with a spark: found by itself.
            const QPolygonF quad{{2, 5}, {11, 4}, {12, 14}, {1, 13}};
            pen(p, kBlue);
            p.setBrush(QColor(170, 215, 250));
            p.drawPolygon(quad);
            for (QPointF c : quad) handle(p, c, kRed);
            pen(p, kInk, 1.2);
            p.drawLine(QPointF(13, 0.5), QPointF(13, 5.5));
            p.drawLine(QPointF(10.5, 3), QPointF(15.5, 3));
            break;
        }
        case I::GraphRect:
            p.setPen(QPen(kBlue, 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(2.5, 2.5, 11, 11));
            for (QPointF c :
                 {QPointF(2.5, 2.5), QPointF(13.5, 2.5), QPointF(13.5, 13.5), QPointF(2.5, 13.5),
                  QPointF(8, 2.5), QPointF(8, 13.5), QPointF(2.5, 8), QPointF(13.5, 8)})
                handle(p, c, kInk);
            break;
        case I::MappingRun:
            pen(p, kBlue);
            p.setBrush(QColor(170, 215, 250));
            p.drawPolygon(QPolygonF{{1, 3}, {6, 4}, {6, 11}, {1, 13}});
            p.drawRect(QRectF(10.5, 3.5, 5, 9));
            pen(p, kGreen, 1.6);
            p.drawLine(QPointF(6.5, 8), QPointF(9.5, 8));
            p.drawLine(QPointF(8, 6.5), QPointF(9.5, 8));
            p.drawLine(QPointF(8, 9.5), QPointF(9.5, 8));
            break;
        case I::AddPoints:
            crosshair(p);
            pen(p, kGreen, 2);
            p.drawLine(QPointF(12, 9), QPointF(12, 15));
            p.drawLine(QPointF(9, 12), QPointF(15, 12));
            break;
        case I::ErasePoints:
            crosshair(p);
            pen(p, kRed, 2);
            p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
            p.drawLine(QPointF(14.5, 9.5), QPointF(9.5, 14.5));
            break;
        case I::ExtractCurve: {
            // A curve with the points found along it, and the click that found them.
            curve(p, kBlue, 1.6);
            foundPoints(p, {{3.5, 11}, {7.5, 7.6}, {11, 6.6}, {13.5, 3.8}});
            pen(p, kInk, 1.4);
            p.drawLine(QPointF(9, 15), QPointF(9, 10));
            p.drawLine(QPointF(6.5, 12.5), QPointF(11.5, 12.5));
            break;
        }
        case I::ExtractConfirm:
            curve(p, kBlue, 1.2);
            foundPoints(p, {{3.5, 11}, {7.5, 7.6}, {13.5, 3.8}});
            pen(p, kGreen, 2.2);
            p.drawLine(QPointF(7, 12), QPointF(9.5, 14.5));
            p.drawLine(QPointF(9.5, 14.5), QPointF(15, 8.5));
            break;
        case I::CalibrateTicks:
            // Axes with two known ticks on each.
            axes(p);
            pen(p, kRed, 2);
            for (const double x : {6.5, 12.5}) p.drawLine(QPointF(x, 13), QPointF(x, 16));
            for (const double y : {3.5, 9.5}) p.drawLine(QPointF(1, y), QPointF(4, y));
            break;
        case I::ReadAxes:
            // Axes with their labels read: boxes beside the ticks.
            axes(p);
            pen(p, kPreview, 1.2);
            p.setBrush(Qt::NoBrush);
            for (const double x : {5.5, 11.5}) p.drawRect(QRectF(x, 13.5, 3, 2));
            for (const double y : {2.5, 8.5}) p.drawRect(QRectF(0.5, y, 2, 3));
            break;
        case I::Fit:
            axes(p);
            dots(p, kRed);
            curve(p, kBlue, 1.2);
            break;
        case I::SaveSourcePoints:
        case I::SaveGeneratedPoints:
        case I::SaveGeneratedImage:
            disk(p, kBlue);
            badge(p, icon);
            break;
        case I::NewProject:
            page(p);
            break;
        case I::OpenProject:
            page(p);
            p.save();
            p.translate(6, 7);
            p.scale(0.6, 0.6);
            draw(p, I::Open);
            p.restore();
            break;
        case I::SaveProject:
            disk(p, kGreen);
            break;
        case I::Undo:
        case I::Redo:
            turnArrow(p, icon == I::Undo);
            break;
    }
}

}  // namespace

QPixmap commandPixmap(CommandIcon icon, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p, icon);
    return pm;
}

namespace {

// The sizes an icon is drawn at; other sizes are scaled down from the next
// larger one, as a QIcon holding these four pixmaps would give them.
using IconSizes = std::array<int, 4>;
constexpr IconSizes kCommandSizes = {16, 24, 32, 48};
constexpr IconSizes kApplicationSizes = {16, 32, 48, 64};

// An icon drawn when a size of it is first shown, not when it is made: the
// window has some sixty commands, and drawing four sizes of each up front
// took a third of the start.
class DrawnIconEngine : public QIconEngine {
public:
    DrawnIconEngine(CommandIcon icon, const IconSizes& sizes) : m_icon(icon), m_sizes(sizes) {}

    QIconEngine* clone() const override { return new DrawnIconEngine(m_icon, m_sizes); }
    QString key() const override { return QStringLiteral("qf-drawn"); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : m_sizes) sizes.append(QSize(side, side));
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min({size.width(), size.height(), m_sizes.back()});
        return QSize(side, side);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QSize actual = actualSize(size, mode, state);
        if (actual.isEmpty()) return {};
        const qint64 key = qint64(actual.width()) * 8 + int(mode);
        if (const auto it = m_cache.constFind(key); it != m_cache.constEnd()) return *it;
        int drawn = m_sizes.back();
        for (int side : m_sizes) {
            if (side >= actual.width()) {
                drawn = side;
                break;
            }
        }
        QPixmap pm = commandPixmap(m_icon, drawn);
        if (drawn != actual.width())
            pm = pm.scaled(actual, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Disabled and selected looks come from the style, as for any icon.
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        m_cache.insert(key, pm);
        return pm;
    }

private:
    CommandIcon m_icon;
    IconSizes m_sizes;
    QHash<qint64, QPixmap> m_cache;
};

}  // namespace

QIcon commandIcon(CommandIcon icon) {
    if (icon == CommandIcon::None) return {};
    return QIcon(new DrawnIconEngine(icon, kCommandSizes));
}

QIcon applicationIcon() {
    return QIcon(new DrawnIconEngine(CommandIcon::Fit, kApplicationSizes));
}

}  // namespace qf
