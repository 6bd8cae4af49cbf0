// The frame's layout across restarts, the customize dialog, the minimum size
// and the lock-key indicators.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "app/commands.h"
#include "app/customize_dialog.h"
#include "app/main_window.h"
#include "app/output_pane.h"

namespace qf {
namespace {

constexpr int kImageBar = 2;

// What the bar shows, left to right: ids, 0 for a visible separator.
std::vector<int> shownButtons(const QToolBar* bar) {
    std::vector<int> ids;
    for (QAction* a : bar->actions()) {
        if (a->objectName() == QStringLiteral("CustomizeButton")) continue;
        if (a->isSeparator()) {
            if (a->isVisible()) ids.push_back(0);
        } else {
            ids.push_back(a->data().toInt());
        }
    }
    return ids;
}

QTreeWidgetItem* row(CustomizeDialog& dlg, int bar, int id) {
    QTreeWidgetItem* top = dlg.tree()->topLevelItem(bar);
    if (id == 0) return top;
    for (int k = 0; k < top->childCount(); ++k)
        if (top->child(k)->data(0, Qt::UserRole + 1).toInt() == id) return top->child(k);
    return nullptr;
}

class ShellLayoutTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        openWorkspaceStore()->clear();
    }
    void TearDown() override { openWorkspaceStore()->clear(); }
    std::unique_ptr<QSettings> storeAt(const char* name) {
        return std::make_unique<QSettings>(dir.filePath(QString::fromLatin1(name)),
                                           QSettings::IniFormat);
    }
    QTemporaryDir dir;
};

TEST_F(ShellLayoutTest, NeverSmallerThan800By600) {
    MainWindow frame;
    EXPECT_EQ(frame.minimumSize(), QSize(800, 600));
    frame.show();
    for (QSize asked : {QSize(500, 700), QSize(900, 300), QSize(10, 10)}) {
        frame.resize(asked);
        EXPECT_EQ(frame.size(), asked.expandedTo(QSize(800, 600)));
    }
    frame.resize(1000, 700);
    EXPECT_EQ(frame.size(), QSize(1000, 700));
}

TEST_F(ShellLayoutTest, TheOutputPaneOpensShowingTenLinesOfAReport) {
    MainWindow frame;
    frame.setView(new QWidget, nullptr);  // as the window is assembled
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QPlainTextEdit* report = frame.outputPane()->reportText(1);
    ASSERT_NE(report, nullptr);
    frame.outputPane()->tabs()->setCurrentIndex(1);
    QApplication::processEvents();
    const int margins = 2 * int(report->document()->documentMargin());
    EXPECT_GE(report->viewport()->height() - margins, 10 * report->fontMetrics().lineSpacing())
        << frame.outputPane()->height();
}

TEST_F(ShellLayoutTest, ClosingSavesWhatTheNextStartRestores) {
    {
        MainWindow frame;
        frame.show();
        frame.resize(1000, 720);
        frame.toolBars()[1]->hide();
        frame.showToolBarButton(kImageBar, ID_ZOOM_IN, false);
        frame.close();
    }
    MainWindow next;
    EXPECT_TRUE(next.restoreLayout(*openWorkspaceStore()));
    next.show();
    EXPECT_TRUE(next.toolBars()[1]->isHidden());
    EXPECT_FALSE(next.toolBars()[0]->isHidden());
    EXPECT_FALSE(next.isToolBarButtonShown(kImageBar, ID_ZOOM_IN));
    EXPECT_TRUE(next.isToolBarButtonShown(kImageBar, ID_ZOOM_OUT));
    EXPECT_EQ(next.size(), QSize(1000, 720));
}

TEST_F(ShellLayoutTest, DamagedStoreKeepsTheBuiltInLayout) {
    // A real state cut short, bytes that are no state at all, and text.
    QByteArray good;
    {
        MainWindow other;
        other.show();
        other.toolBars()[0]->hide();
        other.addDockWidget(Qt::TopDockWidgetArea, other.outputPane());
        auto s = storeAt("good.ini");
        other.saveLayout(*s);
        good = s->value(QStringLiteral("Workspace/State")).toByteArray();
    }
    ASSERT_GT(good.size(), 40);
    const QVariant damaged[] = {good.left(good.size() / 2), good.left(9), QByteArray(300, '\xff'),
                                QByteArray("\0\0\0\0garbage", 11), QStringLiteral("no layout")};
    for (const QVariant& state : damaged) {
        auto s = storeAt("damaged.ini");
        s->clear();
        s->setValue(QStringLiteral("Workspace/State"), state);
        s->setValue(QStringLiteral("Workspace/Geometry"), state);
        s->setValue(QStringLiteral("Workspace/HiddenButtons/ImageToolBar"),
                    QStringLiteral("x,,99999,-1"));
        MainWindow frame;
        frame.show();
        EXPECT_FALSE(frame.restoreLayout(*s));
        EXPECT_EQ(frame.size(), QSize(800, 600));
        for (QToolBar* bar : frame.toolBars()) EXPECT_FALSE(bar->isHidden());
        EXPECT_EQ(frame.dockWidgetArea(frame.outputPane()), Qt::BottomDockWidgetArea);
        EXPECT_EQ(shownButtons(frame.toolBars()[kImageBar]), toolBarLayout()[kImageBar].ids);
    }
}

TEST_F(ShellLayoutTest, PaneAddedAfterTheRestoreGoesWhereItWas) {
    auto s = storeAt("panes.ini");
    {
        MainWindow frame;
        auto* pane = new QDockWidget(QStringLiteral("フィッティング 設定"));
        pane->setObjectName(QStringLiteral("PropertiesPane"));
        frame.setPropertiesPane(pane);
        EXPECT_EQ(frame.dockWidgetArea(pane), Qt::RightDockWidgetArea);
        frame.show();
        frame.addDockWidget(Qt::LeftDockWidgetArea, pane);
        frame.saveLayout(*s);
    }
    MainWindow next;
    next.restoreLayout(*s);
    auto* pane = new QDockWidget(QStringLiteral("フィッティング 設定"));
    pane->setObjectName(QStringLiteral("PropertiesPane"));
    next.setPropertiesPane(pane);
    next.show();
    EXPECT_EQ(next.dockWidgetArea(pane), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(pane->isVisible());

    // And the submenu lists it with the others.
    QMenu* sub = next.findChild<QMenu*>(QStringLiteral("ToolbarsAndPanesMenu"));
    ASSERT_NE(sub, nullptr);
    emit sub->aboutToShow();
    QStringList texts;
    for (QAction* a : sub->actions()) texts << a->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("フィッティング 設定")));
    EXPECT_EQ(texts.last(), QStringLiteral("カスタマイズ..."));
}

TEST_F(ShellLayoutTest, EveryToolBarEndsWithTheCustomizeButton) {
    MainWindow frame;
    frame.show();
    for (QToolBar* bar : frame.toolBars()) {
        QAction* last = bar->actions().last();
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(last));
        ASSERT_NE(button, nullptr) << bar->objectName().toStdString();
        EXPECT_EQ(button->defaultAction(), frame.action(ID_VIEW_CUSTOMIZE));
        EXPECT_EQ(button->toolTip(), QStringLiteral("カスタマイズ..."));
    }
    auto* first = qobject_cast<QToolButton*>(
        frame.toolBars()[0]->widgetForAction(frame.toolBars()[0]->actions().last()));
    first->click();
    auto* dlg = frame.findChild<CustomizeDialog*>();
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("カスタマイズ"));
    // A second request brings the same dialog forward.
    frame.triggerCommand(ID_VIEW_CUSTOMIZE);
    EXPECT_EQ(frame.findChildren<CustomizeDialog*>().size(), 1);
}

TEST_F(ShellLayoutTest, CustomizeDialogHidesBarsAndButtons) {
    MainWindow frame;
    frame.show();
    CustomizeDialog dlg(frame);
    dlg.show();
    ASSERT_EQ(dlg.tree()->topLevelItemCount(), 3);
    EXPECT_EQ(dlg.tree()->topLevelItem(1)->text(0), QStringLiteral("ビデオキャプチャー"));
    EXPECT_EQ(row(dlg, kImageBar, ID_FIT_RUN)->text(0), QStringLiteral("フィッティング 実行"));

    row(dlg, 1, 0)->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(frame.toolBars()[1]->isHidden());

    // Hiding the whole zoom group takes its separators along; the menus keep
    // the shared actions.
    for (int id : {ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FIT, ID_PIXEL_GRID_SHOW, ID_GREY_IMAGE})
        row(dlg, kImageBar, id)->setCheckState(0, Qt::Unchecked);
    row(dlg, kImageBar, ID_SAVE_GENERATED_IMAGE)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(shownButtons(frame.toolBars()[kImageBar]),
              (std::vector<int>{ID_DISPLAY_INPUT, ID_DISPLAY_OUTPUT, ID_DISPLAY_GENERATED_GRAPH, 0,
                                ID_MAPPING_CORNERS, ID_DETECT_FRAME, ID_GRAPH_RECT, ID_MAPPING_RUN,
                                ID_CALIBRATE_TICKS, ID_READ_AXES, 0, ID_ADD_POINTS, ID_ERASE_POINTS,
                                ID_EXTRACT_CURVE, ID_EXTRACT_CONFIRM, ID_SAVE_SOURCE_POINTS, 0,
                                ID_FIT_RUN, ID_SAVE_GENERATED_POINTS}));
    EXPECT_TRUE(frame.action(ID_ZOOM_IN)->isVisible());

    // Back in their own places, not at the end.
    row(dlg, kImageBar, ID_PIXEL_GRID_SHOW)->setCheckState(0, Qt::Checked);
    row(dlg, kImageBar, ID_SAVE_GENERATED_IMAGE)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(shownButtons(frame.toolBars()[kImageBar]),
              (std::vector<int>{ID_DISPLAY_INPUT,
                                ID_DISPLAY_OUTPUT,
                                ID_DISPLAY_GENERATED_GRAPH,
                                0,
                                ID_PIXEL_GRID_SHOW,
                                0,
                                ID_MAPPING_CORNERS,
                                ID_DETECT_FRAME,
                                ID_GRAPH_RECT,
                                ID_MAPPING_RUN,
                                ID_CALIBRATE_TICKS,
                                ID_READ_AXES,
                                0,
                                ID_ADD_POINTS,
                                ID_ERASE_POINTS,
                                ID_EXTRACT_CURVE,
                                ID_EXTRACT_CONFIRM,
                                ID_SAVE_SOURCE_POINTS,
                                0,
                                ID_FIT_RUN,
                                ID_SAVE_GENERATED_POINTS,
                                ID_SAVE_GENERATED_IMAGE}));

    // A bar switched from the menu shows in the dialog as well.
    frame.toolBars()[0]->toggleViewAction()->trigger();
    EXPECT_EQ(row(dlg, 0, 0)->checkState(0), Qt::Unchecked);

    dlg.findChild<QPushButton*>(QStringLiteral("ResetButton"))->click();
    for (QToolBar* bar : frame.toolBars()) EXPECT_FALSE(bar->isHidden());
    for (size_t b = 0; b < frame.toolBars().size(); ++b)
        EXPECT_EQ(shownButtons(frame.toolBars()[b]), toolBarLayout()[b].ids);
    EXPECT_EQ(row(dlg, kImageBar, ID_ZOOM_IN)->checkState(0), Qt::Checked);
}

TEST_F(ShellLayoutTest, KeyIndicatorsFollowTheLockKeys) {
    MainWindow frame;
    auto* caps = frame.findChild<QLabel*>(QStringLiteral("IndicatorCaps"));
    auto* num = frame.findChild<QLabel*>(QStringLiteral("IndicatorNum"));
    auto* scroll = frame.findChild<QLabel*>(QStringLiteral("IndicatorScroll"));
    ASSERT_TRUE(caps && num && scroll);
    // Offscreen tells nothing: all off.
    EXPECT_TRUE(caps->text().isEmpty() && num->text().isEmpty() && scroll->text().isEmpty());

    KeyLocks locks{true, false, true};
    frame.setKeyLockSource([&] { return std::optional<KeyLocks>(locks); });
    EXPECT_EQ(caps->text(), QStringLiteral("CAP"));
    EXPECT_EQ(num->text(), QString());
    EXPECT_EQ(scroll->text(), QStringLiteral("SCRL"));
    locks = {false, true, false};
    frame.updateKeyIndicators();
    EXPECT_EQ(caps->text(), QString());
    EXPECT_EQ(num->text(), QStringLiteral("NUM"));
    EXPECT_EQ(scroll->text(), QString());
    frame.setKeyLockSource([] { return std::optional<KeyLocks>(); });
    EXPECT_TRUE(num->text().isEmpty());
}

TEST_F(ShellLayoutTest, KeyLightsAreAskedOnlyWhileTheWindowIsActive) {
    MainWindow frame;
    int asks = 0;
    KeyLocks locks{false, false, false};
    frame.setKeyLockSource([&] {
        ++asks;
        return std::optional<KeyLocks>(locks);
    });
    EXPECT_FALSE(frame.keyLightsPolled());  // never shown: nothing to light

    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    EXPECT_TRUE(frame.keyLightsPolled());

    // Caps Lock pressed while another window had the keyboard shows on return.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(frame.keyLightsPolled());
    locks.caps = true;
    const int asksInBackground = asks;
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    EXPECT_GT(asks, asksInBackground);
    EXPECT_EQ(frame.findChild<QLabel*>(QStringLiteral("IndicatorCaps"))->text(),
              QStringLiteral("CAP"));

    // A source that tells nothing is not polled even in an active window.
    frame.setKeyLockSource([] { return std::optional<KeyLocks>(); });
    EXPECT_FALSE(frame.keyLightsPolled());
}

}  // namespace
}  // namespace qf
