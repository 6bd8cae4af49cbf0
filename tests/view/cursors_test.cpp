// The view's drawn cursors: black figures with a white outline around the
// hot spot, one distinct figure per tool state.

#include "view/cursors.h"

#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>
#include <vector>

namespace qf {
namespace {

// QBitmap bits read back: set (black) where the image is dark.
bool setAt(const QImage& bits, int x, int y) {
    return qGray(bits.pixel(x, y)) < 128;
}

struct Drawn {
    ToolCursor tool;
    const char* name;
};

const Drawn kDrawn[] = {{ToolCursor::Cross, "cross"},
                        {ToolCursor::Add, "add"},
                        {ToolCursor::Erase, "erase"},
                        {ToolCursor::VerticalEdge, "vertical edge"},
                        {ToolCursor::HorizontalEdge, "horizontal edge"},
                        {ToolCursor::Pan, "pan"}};

TEST(ToolCursors, BlackFiguresOutlinedInWhiteAroundTheHotSpot) {
    for (const Drawn& d : kDrawn) {
        SCOPED_TRACE(d.name);
        const QCursor c = toolCursor(d.tool);
        ASSERT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.hotSpot(), QPoint(15, 15));
        const QImage ink = c.bitmap().toImage();
        const QImage mask = c.mask().toImage();
        ASSERT_EQ(ink.size(), QSize(kToolCursorSize, kToolCursorSize));
        ASSERT_EQ(mask.size(), ink.size());

        int black = 0;
        int white = 0;
        bool bareInk = false;  // a black pixel without a white neighbour on some side
        for (int y = 0; y < ink.height(); ++y) {
            for (int x = 0; x < ink.width(); ++x) {
                const bool b = setAt(ink, x, y);
                const bool m = setAt(mask, x, y);
                EXPECT_TRUE(m || !b) << "black outside the mask at " << x << "," << y;
                black += b && m;
                white += !b && m;
                if (!b) continue;
                for (QPoint n :
                     {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)}) {
                    const bool inside = ink.rect().contains(n);
                    if (!inside || (!setAt(ink, n.x(), n.y()) && !setAt(mask, n.x(), n.y())))
                        bareInk = true;
                }
            }
        }
        EXPECT_GT(black, 20);
        EXPECT_GT(white, black);
        EXPECT_FALSE(bareInk) << "black touches a transparent pixel";

        // Every figure reaches out from the hot spot in all four directions,
        // so the hot spot is where the figure points.
        const QPoint hot = c.hotSpot();
        auto anyInk = [&](int dx, int dy) {
            for (int i = 1; i < kToolCursorSize; ++i) {
                const QPoint p = hot + QPoint(dx * i, dy * i);
                if (!ink.rect().contains(p)) return false;
                if (setAt(ink, p.x(), p.y())) return true;
            }
            return false;
        };
        EXPECT_TRUE(anyInk(-1, 0) && anyInk(1, 0) && anyInk(0, -1) && anyInk(0, 1));
    }
}

TEST(ToolCursors, EachToolHasItsOwnFigure) {
    std::vector<QImage> seen;
    for (const Drawn& d : kDrawn) {
        const QImage ink = toolCursor(d.tool).bitmap().toImage();
        for (const QImage& other : seen) EXPECT_NE(ink, other) << d.name;
        seen.push_back(ink);
    }
}

TEST(ToolCursors, ArrowAndUnchangedGiveThePlatformArrow) {
    EXPECT_EQ(toolCursor(ToolCursor::Arrow).shape(), Qt::ArrowCursor);
    EXPECT_EQ(toolCursor(ToolCursor::Unchanged).shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace qf
