#include "view/cursors.h"

#include <QBitmap>
#include <QSize>
#include <array>
#include <cstdint>

namespace qf {

namespace {

constexpr int kSize = kToolCursorSize;
constexpr int kHot = 15;    // hot spot on both axes, the figure's middle pixel
constexpr int kReach = 11;  // how far arms and arrows reach from the hot spot
constexpr int kGap = 3;     // the cross-hair leaves the pixel under it free
constexpr int kArrowHead = 4;

// Black pixels of a figure; the white outline is derived from them.
class Figure {
public:
    void set(int x, int y) {
        if (x >= 0 && x < kSize && y >= 0 && y < kSize) ink_[y][x] = true;
    }
    bool at(int x, int y) const { return x >= 0 && x < kSize && y >= 0 && y < kSize && ink_[y][x]; }
    void hline(int y, int x0, int x1) {
        for (int x = x0; x <= x1; ++x) set(x, y);
    }
    void vline(int x, int y0, int y1) {
        for (int y = y0; y <= y1; ++y) set(x, y);
    }
    void fill(int x0, int y0, int x1, int y1) {
        for (int y = y0; y <= y1; ++y) hline(y, x0, x1);
    }
    // A filled head with its tip at (x, y), pointing along (dx, dy).
    void arrowHead(int x, int y, int dx, int dy) {
        for (int i = 0; i <= kArrowHead; ++i) {
            const int cx = x - dx * i;
            const int cy = y - dy * i;
            if (dx != 0) {
                vline(cx, cy - i, cy + i);
            } else {
                hline(cy, cx - i, cx + i);
            }
        }
    }
    // A line through the hot spot with a head at both ends.
    void doubleArrow(bool horizontal) {
        const int from = kHot - kReach;
        const int to = kHot + kReach;
        if (horizontal) {
            hline(kHot, from, to);
            arrowHead(from - 1, kHot, -1, 0);
            arrowHead(to + 1, kHot, 1, 0);
        } else {
            vline(kHot, from, to);
            arrowHead(kHot, from - 1, 0, -1);
            arrowHead(kHot, to + 1, 0, 1);
        }
    }
    void crossHair() {
        vline(kHot, kHot - kReach, kHot - kGap);
        vline(kHot, kHot + kGap, kHot + kReach);
        hline(kHot, kHot - kReach, kHot - kGap);
        hline(kHot, kHot + kGap, kHot + kReach);
    }
    // Ink plus every pixel next to it, diagonals included.
    bool covered(int x, int y) const {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (at(x + dx, y + dy)) return true;
            }
        }
        return false;
    }

private:
    std::array<std::array<bool, kSize>, kSize> ink_{};
};

Figure figureOf(ToolCursor c) {
    Figure f;
    switch (c) {
        case ToolCursor::Cross:
            f.crossHair();
            break;
        case ToolCursor::Add:  // a small plus below right of the cross-hair
            f.crossHair();
            f.hline(25, 22, 28);
            f.vline(25, 22, 28);
            break;
        case ToolCursor::Erase:  // a minus bar below right of the cross-hair
            f.crossHair();
            f.fill(22, 24, 28, 26);
            break;
        case ToolCursor::VerticalEdge:  // the edge as a bar, moved left or right
            f.fill(kHot - 1, kHot - 8, kHot + 1, kHot + 8);
            f.doubleArrow(true);
            break;
        case ToolCursor::HorizontalEdge:
            f.fill(kHot - 8, kHot - 1, kHot + 8, kHot + 1);
            f.doubleArrow(false);
            break;
        case ToolCursor::Pan:
            f.doubleArrow(true);
            f.doubleArrow(false);
            break;
        default:
            break;
    }
    return f;
}

// Bit set = black in a QBitmap; a cursor shows black where bitmap and mask
// are set, white where only the mask is.
QBitmap bitmapOf(const Figure& f, bool withOutline) {
    constexpr int rowBytes = kSize / 8;
    std::array<uint8_t, rowBytes * kSize> bits{};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (withOutline ? f.covered(x, y) : f.at(x, y))
                bits[static_cast<std::size_t>(y * rowBytes + x / 8)] |= uint8_t(1u << (x % 8));
        }
    }
    return QBitmap::fromData(QSize(kSize, kSize), bits.data(), QImage::Format_MonoLSB);
}

QCursor drawnCursor(ToolCursor c) {
    const Figure f = figureOf(c);
    return QCursor(bitmapOf(f, false), bitmapOf(f, true), kHot, kHot);
}

constexpr ToolCursor kDrawn[] = {ToolCursor::Cross,          ToolCursor::Add,
                                 ToolCursor::Erase,          ToolCursor::VerticalEdge,
                                 ToolCursor::HorizontalEdge, ToolCursor::Pan};
constexpr std::size_t kDrawnCount = std::size(kDrawn);

}  // namespace

QCursor toolCursor(ToolCursor c) {
    // Built once and kept for the whole run: the window system caches cursors
    // by their bitmaps, so new bitmaps on every mouse move would only grow
    // that cache, and a static QCursor would be destroyed after the
    // application at exit.
    static const auto* const cursors = [] {
        auto* all = new std::array<QCursor, kDrawnCount>;
        for (std::size_t i = 0; i < kDrawnCount; ++i) (*all)[i] = drawnCursor(kDrawn[i]);
        return all;
    }();
    for (std::size_t i = 0; i < kDrawnCount; ++i) {
        if (kDrawn[i] == c) return (*cursors)[i];
    }
    return QCursor(Qt::ArrowCursor);
}

}  // namespace qf
