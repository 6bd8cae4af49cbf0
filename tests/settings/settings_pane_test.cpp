// The settings pane: its toolbar, the fit button's enablement and the route
// of the grid's commands.

#include "settings/settings_pane.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <string>
#include <vector>

#include "settings/property_editors.h"
#include "settings/settings_grid.h"
#include "support/fake_dialogs.h"

namespace qf {
namespace {

class PropertiesPaneTest : public testing::Test {
protected:
    std::vector<int> sent;
    bool canFit = false;
    testing_support::FakeDialogs dialogs;
    SettingsPane pane{dialogs};

    void SetUp() override {
        pane.setCommandSink([this](int id) { sent.push_back(id); });
        pane.setFitEnabledProbe([this] { return canFit; });
        pane.resize(300, 700);
        pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    }
    QWidget* button(QAction* action) { return pane.toolBar()->widgetForAction(action); }
};

TEST_F(PropertiesPaneTest, CaptionToolbarAndGrid) {
    EXPECT_EQ(pane.windowTitle().toStdString(), "フィッティング 設定");
    EXPECT_EQ(pane.objectName().toStdString(), "PropertiesPane");
    QToolBar* bar = pane.toolBar();
    EXPECT_FALSE(bar->isMovable());
    EXPECT_EQ(bar->actions(), (QList<QAction*>{pane.expandAllAction(), pane.fitAction()}));
    for (QAction* a : bar->actions()) {
        EXPECT_FALSE(a->icon().isNull());
        EXPECT_FALSE(a->toolTip().isEmpty());
    }
    EXPECT_EQ(pane.fitAction()->toolTip().toStdString(), "フィッティング 実行");
    // The toolbar sits on top, the grid fills the rest.
    const QRect barRect = bar->geometry();
    const QRect gridRect = pane.grid()->geometry();
    EXPECT_LE(barRect.bottom(), gridRect.top());
    EXPECT_GT(gridRect.height(), pane.widget()->height() / 2);
}

TEST_F(PropertiesPaneTest, FitButtonFollowsTheProbe) {
    EXPECT_FALSE(pane.fitAction()->isEnabled());
    QTest::mouseClick(button(pane.fitAction()), Qt::LeftButton);
    EXPECT_TRUE(sent.empty());

    canFit = true;
    pane.refreshToolbar();
    EXPECT_TRUE(pane.fitAction()->isEnabled());
    QTest::mouseClick(button(pane.fitAction()), Qt::LeftButton);
    EXPECT_EQ(sent, (std::vector<int>{32878}));

    // A button left enabled from before does not run a fit that cannot run.
    canFit = false;
    pane.fitAction()->trigger();
    EXPECT_EQ(sent, (std::vector<int>{32878}));
    EXPECT_FALSE(pane.fitAction()->isEnabled());
}

TEST_F(PropertiesPaneTest, ExpandAllOpensEveryGroup) {
    QTreeView* tree = pane.grid()->tree();
    const QAbstractItemModel* model = tree->model();
    tree->collapse(model->index(0, 0));
    tree->collapse(model->index(4, 0));
    QTest::mouseClick(button(pane.expandAllAction()), Qt::LeftButton);
    for (int g = 0; g < model->rowCount(); ++g) EXPECT_TRUE(tree->isExpanded(model->index(g, 0)));
}

TEST_F(PropertiesPaneTest, GridFontFollowsTheDesktopFont) {
    const QFont before = QApplication::font();
    const QFont initial = pane.grid()->font();
    QFont larger = before;
    larger.setPointSize(20);
    QApplication::setFont(larger);
    const QFont menu = QApplication::font("QMenu");
    const QFont remade = pane.grid()->font();
    QApplication::setFont(before);
    if (menu.pointSize() != 20) GTEST_SKIP() << "the menu font does not follow the desktop font";
    EXPECT_EQ(remade, SettingsGrid::gridFontFrom(menu));
    EXPECT_EQ(remade.pointSize(), 16);
    EXPECT_EQ(pane.grid()->font(), initial);
}

TEST_F(PropertiesPaneTest, GridCommandsReachTheSink) {
    dialogs.colourAnswer = 0xFF0000;
    SettingsGrid* grid = pane.grid();
    QTest::mouseClick(grid->colourWidget()->otherButton(), Qt::LeftButton);
    QFont label;
    pane.setLabelFont(&label);
    dialogs.fontAnswer = QFont("Serif", 16);
    QTest::mouseClick(grid->fontWidget()->chooseButton(), Qt::LeftButton);
    EXPECT_EQ(sent, (std::vector<int>{104, 105}));
    EXPECT_EQ(pane.settings().colour, 0xFF0000u);
    EXPECT_EQ(label, QFont("Serif", 16));
}

}  // namespace
}  // namespace qf
