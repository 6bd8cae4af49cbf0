// A look chosen while the window is open reaches every part of it at once:
// the settings pane's group rows are redrawn in the new colours, whichever
// look the window started in.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/application_window.h"
#include "app/visual_style.h"
#include "settings/settings_grid.h"
#include "settings/settings_pane.h"
#include "support/fake_dialogs.h"

namespace qf {
namespace {

// Relative luminance contrast of two colours, 1 (none) to 21 (black on white).
double contrast(QColor a, QColor b) {
    auto luminance = [](QColor c) {
        auto channel = [](double v) {
            v /= 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return std::max(la, lb) / std::min(la, lb);
}

int distance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

struct HeaderLook {
    QColor background;
    QColor text;  // the pixel of the row farthest from its background
};

// Reads the first group row ("フィッティング設定" and its kin) off the screen.
HeaderLook firstGroupRow(SettingsGrid& grid) {
    QTreeView* tree = grid.tree();
    QApplication::processEvents();
    const QImage shot = tree->viewport()->grab().toImage();
    const QRect row = tree->visualRect(tree->model()->index(0, 0));
    HeaderLook look;
    look.background = shot.pixelColor(row.right() - 2, row.center().y());
    look.text = look.background;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x)
            if (distance(shot.pixelColor(x, y), look.background) >
                distance(look.text, look.background))
                look.text = shot.pixelColor(x, y);
    return look;
}

class WindowStyleTest : public testing::Test {
protected:
    void SetUp() override { openWorkspaceStore()->clear(); }
    void TearDown() override {
        openWorkspaceStore()->clear();
        // The look is the application's; the next test starts in the default one.
        MainWindow reset;
        reset.setVisualStyle(ID_STYLE_VS_2008);
        openWorkspaceStore()->clear();
    }
    testing_support::FakeDialogs dialogs;
};

TEST_F(WindowStyleTest, GroupRowsFollowALookChosenLive) {
    struct Case {
        int start;                // the look stored from the last run
        std::vector<int> chosen;  // then chosen from the menu, in order
    };
    const Case cases[] = {
        {ID_STYLE_VS_2008, {ID_STYLE_OFFICE_2007_BLACK, ID_STYLE_VS_2008}},
        {ID_STYLE_OFFICE_2007_BLACK, {ID_STYLE_VS_2008, ID_STYLE_OFFICE_2007_BLACK}},
        {ID_STYLE_WINDOWS_2000,
         {ID_STYLE_OFFICE_2007_BLACK, ID_STYLE_OFFICE_2007_SILVER, ID_STYLE_OFFICE_2007_BLACK,
          ID_STYLE_WINDOWS_2000}},
    };
    for (const Case& c : cases) {
        openWorkspaceStore()->setValue(QStringLiteral("Workspace/ApplicationLook"), c.start);
        ApplicationWindow w{dialogs, CameraSourceMap{}};
        w.frame().resize(900, 650);
        w.frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
        SettingsGrid& grid = *w.properties().grid();
        int current = c.start;
        auto check = [&] {
            const VisualStyle& s = visualStyleOf(current, current);
            SCOPED_TRACE(std::string("start ") + visualStyleOf(c.start, c.start).name + ", now " +
                         s.name);
            const HeaderLook row = firstGroupRow(grid);
            EXPECT_EQ(row.background.name().toStdString(),
                      QApplication::palette().color(QPalette::Button).name().toStdString());
            EXPECT_GE(contrast(row.text, row.background), 4.5)
                << "text " << row.text.name().toStdString() << " on "
                << row.background.name().toStdString();
        };
        check();
        for (int id : c.chosen) {
            w.frame().action(id)->trigger();
            current = id;
            check();
        }
    }
}

}  // namespace
}  // namespace qf
