// The output pane: report pages, tab switching, the two point tables and the
// selection notice the view follows.

#include "app/output_pane.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "fit/fit_types.h"

namespace qf {
namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

std::vector<std::string> column(const QTableWidget* t, int c) {
    std::vector<std::string> out;
    for (int r = 0; r < t->rowCount(); ++r)
        out.push_back(t->item(r, c) ? str(t->item(r, c)->text()) : std::string());
    return out;
}

std::vector<std::string> headers(const QTableWidget* t) {
    std::vector<std::string> out;
    for (int c = 0; c < t->columnCount(); ++c)
        out.push_back(str(t->horizontalHeaderItem(c)->text()));
    return out;
}

std::vector<int> widths(const QTableWidget* t) {
    std::vector<int> out;
    for (int c = 0; c < t->columnCount(); ++c) out.push_back(t->columnWidth(c));
    return out;
}

class OutputPaneTest : public testing::Test {
protected:
    OutputPane pane;
    QSignalSpy notices{&pane, &OutputPane::sourcePointSelectionChanged};

    void addRows(int n) {
        for (int i = 0; i < n; ++i) {
            const std::string k = std::to_string(i + 1);
            pane.insertSourcePointRow(i, {k, "x" + k, "y" + k, "1" + k, "2" + k});
        }
    }
    void showSourceList() {
        pane.resize(600, 300);
        pane.show();
        pane.activateOutputTab(OutputPane::PageSourcePoints);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    }
    QPoint rowCentre(int row) {
        PointTable* list = pane.sourcePointList();
        return list->visualRect(list->model()->index(row, 1)).center();
    }
};

TEST_F(OutputPaneTest, FourPagesWithTabsAtTheBottom) {
    QTabWidget* tabs = pane.tabs();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::South);
    std::vector<std::string> captions;
    for (int i = 0; i < 4; ++i) captions.push_back(str(tabs->tabText(i)));
    EXPECT_EQ(captions, (std::vector<std::string>{"出力", "フィッティング出力",
                                                  "フィッティング元座標", "生成グラフ座標データ"}));
    EXPECT_EQ(str(pane.windowTitle()), "出力");
    EXPECT_FALSE(pane.reportText(0)->isReadOnly());
}

TEST_F(OutputPaneTest, StartsWithTheUsageSummary) {
    const QStringList lines = pane.paneText(0).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 29);  // 27 lines and two blank ones
    EXPECT_EQ(str(lines[0]), "画像入力 : 画像ファイルドロップ対応");
    EXPECT_EQ(str(lines[4]), "");
    EXPECT_EQ(str(lines[8]), "    +           addition ");
    EXPECT_EQ(str(lines[13]), "");
    EXPECT_EQ(str(lines[28]), "    pow(x,y)    raise x to the power of y");
    EXPECT_TRUE(pane.paneText(1).isEmpty());

    const std::string summary = OutputPane::usageSummary();
    EXPECT_EQ(summary.substr(summary.size() - 2), "\r\n");
    EXPECT_EQ(summary.find('\n', 0), summary.find("\r\n", 0) + 1);
}

TEST_F(OutputPaneTest, SetPaneTextReplacesTheWholePage) {
    struct Case {
        int page;
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {0, "cv::VideoCapture(2)\r\nデバイス 2 オープンできません\r\n",
         "cv::VideoCapture(2)\nデバイス 2 オープンできません"},
        {0, "", ""},
        {1, "a\r\n\r\nb\r\n", "a\n\nb"},
        {1, "no line end", "no line end"},
    };
    for (const Case& c : cases) {
        pane.reportText(c.page)->appendPlainText(QStringLiteral("typed by the user"));
        pane.setPaneText(c.page, c.text);
        EXPECT_EQ(str(pane.paneText(c.page)), c.shown) << c.text;
    }
    pane.setPaneText(2, "ignored");
    pane.setPaneText(-1, "ignored");
    EXPECT_EQ(str(pane.paneText(1)), "no line end");
}

TEST_F(OutputPaneTest, activateOutputTab) {
    for (int page : {2, 1, 3, 0}) {
        pane.activateOutputTab(page);
        EXPECT_EQ(pane.activeOutputTab(), page);
    }
    pane.activateOutputTab(4);
    pane.activateOutputTab(-1);
    EXPECT_EQ(pane.activeOutputTab(), 0);
}

// The pages behind the first are made when first needed: until then the
// tables answer as empty ones, and a click on a tab shows the page itself at
// the tab's place, current, with its columns.
TEST_F(OutputPaneTest, HiddenPagesAreMadeWhenFirstShown) {
    EXPECT_EQ(pane.findChild<QTableWidget*>(QStringLiteral("SourcePointList")), nullptr);
    EXPECT_EQ(pane.findChild<QTableWidget*>(QStringLiteral("GraphPointList")), nullptr);
    EXPECT_EQ(pane.sourcePointRowCount(), 0);
    EXPECT_TRUE(pane.selectedSourcePointRows().empty());
    EXPECT_EQ(str(pane.paneText(1)), "");
    pane.selectSourcePointRow(0);
    pane.clearSourcePointSelection();
    pane.resetSourcePointColumns();
    pane.resetGraphPointColumns();
    EXPECT_EQ(notices.count(), 0);

    pane.resize(600, 300);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    QTabBar* bar = pane.tabs()->tabBar();
    for (int page : {3, 2, 1}) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
        EXPECT_EQ(pane.tabs()->count(), 4);
        EXPECT_EQ(pane.tabs()->currentIndex(), page);
        EXPECT_EQ(pane.activeOutputTab(), page);
        EXPECT_TRUE(pane.tabs()->currentWidget()->isVisible());
    }
    EXPECT_EQ(pane.tabs()->widget(1),
              pane.reportText(1)->parentWidget());  // under its copy buttons
    EXPECT_EQ(pane.tabs()->widget(2), pane.sourcePointList());
    EXPECT_EQ(pane.tabs()->widget(3), pane.graphPointList());
    EXPECT_EQ(pane.findChild<QTableWidget*>(QStringLiteral("SourcePointList")),
              pane.sourcePointList());
    EXPECT_EQ(pane.sourcePointList()->columnCount(), OutputPane::kSourceColumns);
    EXPECT_EQ(pane.graphPointList()->columnCount(), OutputPane::kGraphColumns);
    // The made table reports its selection like any other.
    addRows(2);
    pane.selectSourcePointRow(1);
    EXPECT_EQ(notices.count(), 1);
}

TEST_F(OutputPaneTest, ColumnsOfBothTables) {
    EXPECT_EQ(headers(pane.sourcePointList()),
              (std::vector<std::string>{"NO.", "X", "Y", "PIXEL H", "PIXEL V", "残差"}));
    EXPECT_EQ(widths(pane.sourcePointList()), (std::vector<int>{40, 80, 80, 80, 80, 80}));
    EXPECT_EQ(headers(pane.graphPointList()), (std::vector<std::string>{"NO.", "X", "Y", ""}));
    EXPECT_EQ(widths(pane.graphPointList()), (std::vector<int>{40, 80, 80, 80}));
}

TEST_F(OutputPaneTest, ResetLeavesExactlyTheColumnsAndNoRowsOrNotice) {
    addRows(3);
    pane.selectSourcePointRow(1);
    notices.clear();
    for (int i = 0; i < 2; ++i) pane.resetSourcePointColumns();
    EXPECT_EQ(pane.sourcePointRowCount(), 0);
    EXPECT_EQ(pane.sourcePointList()->columnCount(), 6);
    EXPECT_EQ(notices.count(), 0);
    EXPECT_TRUE(pane.selectedSourcePointRows().empty());
}

TEST_F(OutputPaneTest, InsertDeleteAndRenumber) {
    addRows(5);
    EXPECT_EQ(column(pane.sourcePointList(), 1),
              (std::vector<std::string>{"x1", "x2", "x3", "x4", "x5"}));
    EXPECT_EQ(column(pane.sourcePointList(), 5), (std::vector<std::string>(5, "")));
    // Removing point 3 of 5 as the view does: delete the row, renumber the rest.
    pane.deleteSourcePointRow(2);
    for (int k = 3; k < 5; ++k) pane.setSourcePointText(k - 1, 0, std::to_string(k));
    EXPECT_EQ(column(pane.sourcePointList(), 0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column(pane.sourcePointList(), 1),
              (std::vector<std::string>{"x1", "x2", "x4", "x5"}));
    EXPECT_EQ(column(pane.sourcePointList(), 4),
              (std::vector<std::string>{"21", "22", "24", "25"}));
    pane.deleteSourcePointRow(7);  // out of range: nothing
    EXPECT_EQ(pane.sourcePointRowCount(), 4);
}

TEST_F(OutputPaneTest, SelectingARowFromCodeNotifies) {
    addRows(4);
    EXPECT_EQ(notices.count(), 0);  // inserting is not a selection change
    pane.selectSourcePointRow(3);
    EXPECT_EQ(notices.count(), 1);
    EXPECT_EQ(pane.selectedSourcePointRows(), std::vector<int>{3});
    EXPECT_EQ(pane.sourcePointList()->currentRow(), 3);
    pane.selectSourcePointRow(1);
    EXPECT_EQ(pane.selectedSourcePointRows(), std::vector<int>{1});  // single selection
}

TEST_F(OutputPaneTest, DeletingTheSelectedRowNotifiesOthersDoNot) {
    addRows(4);
    pane.selectSourcePointRow(2);
    notices.clear();
    pane.deleteSourcePointRow(3);
    EXPECT_EQ(notices.count(), 0);
    EXPECT_EQ(pane.selectedSourcePointRows(), std::vector<int>{2});
    pane.deleteSourcePointRow(2);
    EXPECT_EQ(notices.count(), 1);
    EXPECT_TRUE(pane.selectedSourcePointRows().empty());
}

TEST_F(OutputPaneTest, MouseSelectsARowAndEmptySpaceClearsIt) {
    addRows(3);
    showSourceList();
    PointTable* list = pane.sourcePointList();

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
    EXPECT_EQ(pane.selectedSourcePointRows(), std::vector<int>{1});
    EXPECT_GE(notices.count(), 1);

    notices.clear();
    const QRect last = list->visualRect(list->model()->index(2, 0));
    const QPoint below(last.center().x(), last.bottom() + 20);
    ASSERT_LT(below.y(), list->viewport()->height());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
    EXPECT_TRUE(pane.selectedSourcePointRows().empty());
    EXPECT_EQ(notices.count(), 1);

    // Also with nothing selected: the view may still highlight a point.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(notices.count(), 2);
}

TEST_F(OutputPaneTest, GeneratedGraphRows) {
    GeneratedGraph g;
    g.generatedX = {0.0, 1.5e-5, 1e24, 123456789.0, 7.0};
    g.generatedY = {-2.5, 0.1, 1.0 / 3.0, -1e-300, 8.0};
    g.generatedCount = 4;  // the fifth value is stale
    pane.fillGeneratedGraph(g, 4);
    const QTableWidget* t = pane.graphPointList();
    EXPECT_EQ(t->columnCount(), 4);
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column(t, 1), (std::vector<std::string>{"0", "1.5E-005", "1E+024", "1.23457E+008"}));
    EXPECT_EQ(column(t, 2), (std::vector<std::string>{"-2.5", "0.1", "0.333333", "-1E-300"}));
    EXPECT_EQ(column(t, 3), (std::vector<std::string>(4, "")));

    g.generatedCount = 0;
    pane.fillGeneratedGraph(g, 50);
    EXPECT_EQ(t->rowCount(), 0);
    EXPECT_EQ(t->columnCount(), 4);
}

// Long exponents were cut ("1.08264E+0…"); the columns grow to their longest
// text in both tables, whether rows are inserted, changed or filled at once.
TEST_F(OutputPaneTest, ValueColumnsShowTheirLongestTextWhole) {
    const std::string wide = "-1.08264E+024";
    for (QTableWidget* t :
         {static_cast<QTableWidget*>(pane.sourcePointList()), pane.graphPointList()}) {
        QFont big = t->font();
        big.setPixelSize(24);
        t->setFont(big);
    }
    const auto fits = [&](const QTableWidget* t, int c, const std::string& text) {
        return t->columnWidth(c) >=
               QFontMetrics(t->font()).horizontalAdvance(QString::fromStdString(text));
    };
    PointTable* list = pane.sourcePointList();
    ASSERT_FALSE(fits(list, 1, wide));  // the default width would cut it

    pane.insertSourcePointRow(0, {"1", "1", wide, "5", "6"});
    pane.insertSourcePointRow(0, {"1", wide, "2", "3", "4"});
    EXPECT_TRUE(fits(list, 1, wide));
    EXPECT_TRUE(fits(list, 2, wide));
    EXPECT_EQ(list->columnWidth(3), 80);  // short texts keep the default width

    pane.resetSourcePointColumns();
    pane.insertSourcePointRow(0, {"1", "0", "0", "3", "4"});
    EXPECT_EQ(list->columnWidth(1), 80);
    pane.setSourcePointText(0, 1, wide + "0");  // recalibrated values change the text
    EXPECT_TRUE(fits(list, 1, wide + "0"));

    GeneratedGraph g;
    g.generatedX = {1.0, -1.08264e24, 2.0};
    g.generatedY = {-1.08264e-124, 3.0, 4.0};
    g.generatedCount = 3;
    pane.fillGeneratedGraph(g, 3);
    const QTableWidget* t = pane.graphPointList();
    EXPECT_TRUE(fits(t, 1, wide));
    EXPECT_TRUE(fits(t, 2, "-1.08264E-124"));
    EXPECT_EQ(t->columnWidth(3), 80);
}

TEST_F(OutputPaneTest, GeneratedGraphScrollsToTheLastPoint) {
    GeneratedGraph g;
    for (int i = 0; i < 200; ++i) {
        g.generatedX.push_back(i);
        g.generatedY.push_back(i * i);
    }
    g.generatedCount = 200;
    pane.resize(400, 200);
    pane.show();
    pane.activateOutputTab(OutputPane::PageGeneratedGraph);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    pane.fillGeneratedGraph(g, 200);
    QTableWidget* t = pane.graphPointList();
    const QRect last = t->visualRect(t->model()->index(199, 0));
    EXPECT_TRUE(t->viewport()->rect().intersects(last));
    EXPECT_FALSE(t->viewport()->rect().intersects(t->visualRect(t->model()->index(0, 0))));
}

// Detachable pages: a page dragged out of the tab bar keeps its widget and
// everything in it, keeps its index for the callers, and comes back at its
// old place.
class DetachedPageTest : public OutputPaneTest {
protected:
    struct Contents {
        std::string text0, text1;
        std::vector<std::string> sourceX, graphY;
        std::vector<int> selected;
        bool operator==(const Contents&) const = default;
    };
    Contents contents() {
        return {str(pane.paneText(0)), str(pane.paneText(1)), column(pane.sourcePointList(), 1),
                column(pane.graphPointList(), 2), pane.selectedSourcePointRows()};
    }
    // Page 1's report sits under its copy buttons.
    std::vector<QWidget*> pageWidgets{pane.reportText(0), pane.reportText(1)->parentWidget(),
                                      pane.sourcePointList(), pane.graphPointList()};
    std::vector<std::string> captions{"出力", "フィッティング出力", "フィッティング元座標",
                                      "生成グラフ座標データ"};

    void SetUp() override {
        pane.setPaneText(0, "first page\r\n");
        pane.setPaneText(1, "a = 1.5E-005\r\n");
        addRows(3);
        pane.selectSourcePointRow(1);
        GeneratedGraph g;
        g.generatedX = {1, 2};
        g.generatedY = {3, 1e24};
        g.generatedCount = 2;
        pane.fillGeneratedGraph(g, 2);
        pane.resize(600, 300);
        pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    }
    QTabBar* bar() { return pane.tabs()->tabBar(); }
    QPoint onBar() { return bar()->mapToGlobal(bar()->rect().center()); }
    // Press on the page's tab and pull it `away` pixels off the bar.
    void dragOut(int page, int away) {
        const int tab = pane.tabs()->indexOf(pageWidgets[size_t(page)]);
        ASSERT_GE(tab, 0);
        const QPoint c = bar()->tabRect(tab).center();
        QTest::mousePress(bar(), Qt::LeftButton, {}, c);
        QTest::mouseMove(bar(), c - QPoint(0, away / 2));
        QTest::mouseMove(bar(), c - QPoint(0, away));
    }
    void release(QPoint global) {
        QTest::mouseRelease(bar(), Qt::LeftButton, {}, bar()->mapFromGlobal(global));
    }
    // Every page in the bar sits in its original order.
    void expectOrderOfAttachedPages() {
        int last = -1;
        for (int tab = 0; tab < pane.tabs()->count(); ++tab) {
            const auto it =
                std::find(pageWidgets.begin(), pageWidgets.end(), pane.tabs()->widget(tab));
            ASSERT_NE(it, pageWidgets.end());
            const int page = int(it - pageWidgets.begin());
            EXPECT_GT(page, last);
            EXPECT_EQ(str(pane.tabs()->tabText(tab)), captions[size_t(page)]);
            last = page;
        }
    }
};

TEST_F(DetachedPageTest, RoundTripKeepsContentsAndPlace) {
    enum class Back { Close, DropInSameDrag, DropWindowOnBar };
    const Contents before = contents();
    for (int page = 0; page < 4; ++page) {
        for (Back back : {Back::Close, Back::DropInSameDrag, Back::DropWindowOnBar}) {
            SCOPED_TRACE(testing::Message() << "page " << page << " way back " << int(back));
            dragOut(page, 150);
            ASSERT_TRUE(pane.isPageDetached(page));
            QWidget* window = pane.pageWindow(page);
            ASSERT_NE(window, nullptr);
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(window->isWindow());
            EXPECT_EQ(pageWidgets[size_t(page)]->window(), window);
            EXPECT_EQ(str(window->windowTitle()), captions[size_t(page)]);
            EXPECT_EQ(pane.tabs()->count(), 3);
            EXPECT_EQ(pane.activeOutputTab(), page);
            EXPECT_EQ(contents(), before);
            expectOrderOfAttachedPages();

            if (back == Back::DropInSameDrag) {
                release(onBar());
            } else {
                release(onBar() - QPoint(0, 150));  // dropped away from the bar: floats on
                EXPECT_TRUE(pane.isPageDetached(page));
                if (back == Back::Close)
                    EXPECT_FALSE(window->close());  // the page is taken back, not closed
                else
                    EXPECT_TRUE(pane.dropPageAt(page, onBar()));
            }
            EXPECT_FALSE(pane.isPageDetached(page));
            ASSERT_EQ(pane.tabs()->count(), 4);
            EXPECT_EQ(pane.tabs()->widget(page), pageWidgets[size_t(page)]);
            EXPECT_EQ(pane.tabs()->currentIndex(), page);
            EXPECT_EQ(pageWidgets[size_t(page)]->window(), &pane);
            EXPECT_EQ(contents(), before);
            expectOrderOfAttachedPages();
        }
    }
}

TEST_F(DetachedPageTest, IndicesStayMeaningfulWhilePagesAreOut) {
    ASSERT_TRUE(pane.detachPage(1, onBar() - QPoint(0, 200)));
    ASSERT_TRUE(pane.detachPage(2, onBar() - QPoint(0, 400)));
    EXPECT_FALSE(pane.detachPage(2, {}));  // out already
    EXPECT_FALSE(pane.detachPage(4, {}));
    EXPECT_FALSE(pane.dropPageAt(1, onBar() - QPoint(0, 200)));
    expectOrderOfAttachedPages();

    for (int page : {3, 1, 0, 2}) {
        pane.activateOutputTab(page);
        EXPECT_EQ(pane.activeOutputTab(), page);
        if (pane.isPageDetached(page))
            EXPECT_TRUE(pane.pageWindow(page)->isVisible());
        else
            EXPECT_EQ(pane.tabs()->currentWidget(), pageWidgets[size_t(page)]);
    }
    // Writers reach the pages wherever they are.
    pane.setPaneText(1, "while out\r\n");
    pane.insertSourcePointRow(3, {"4", "x4", "y4", "14", "24"});
    EXPECT_EQ(str(pane.paneText(1)), "while out");
    EXPECT_EQ(pane.sourcePointRowCount(), 4);

    // Back in the other order, each between its old neighbours.
    pane.reattachPage(2);
    expectOrderOfAttachedPages();
    pane.reattachPage(1);
    expectOrderOfAttachedPages();
    EXPECT_EQ(pane.tabs()->count(), 4);
    for (int page = 0; page < 4; ++page)
        EXPECT_EQ(pane.tabs()->widget(page), pageWidgets[size_t(page)]);
}

TEST_F(DetachedPageTest, ASlipAlongTheBarIsStillAClick) {
    const QPoint c = bar()->tabRect(2).center();
    QTest::mousePress(bar(), Qt::LeftButton, {}, c);
    QTest::mouseMove(bar(), c + QPoint(QApplication::startDragDistance() * 3, 1));
    QTest::mouseRelease(bar(), Qt::LeftButton, {},
                        c + QPoint(QApplication::startDragDistance() * 3, 1));
    EXPECT_FALSE(pane.isPageDetached(2));
    EXPECT_EQ(pane.tabs()->count(), 4);
    EXPECT_EQ(pane.activeOutputTab(), 2);
}

// The clipboard's text split as a spreadsheet splits tab-separated text.
std::vector<std::vector<std::string>> clipboardTable() {
    std::vector<std::vector<std::string>> rows;
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.endsWith(QLatin1Char('\n'))) << str(text);
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        std::vector<std::string> cells;
        for (const QString& cell : line.split(QLatin1Char('\t'))) cells.push_back(str(cell));
        rows.push_back(cells);
    }
    return rows;
}

using Rows = std::vector<std::vector<std::string>>;

// Ctrl+C and the context menu copy the selected rows, or all when none is,
// under the headers; a tab in a cell does not make another column.
TEST_F(OutputPaneTest, TablesCopyAsTabSeparatedColumns) {
    addRows(3);
    pane.setSourcePointText(1, 5, "0.5\t1");
    showSourceList();
    PointTable* list = pane.sourcePointList();
    pane.activateWindow();
    list->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&pane));
    const std::string residual = headers(list)[5];

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardTable(), (Rows{{"NO.", "X", "Y", "PIXEL H", "PIXEL V", residual},
                                      {"1", "x1", "y1", "11", "21", ""},
                                      {"2", "x2", "y2", "12", "22", "0.5 1"},
                                      {"3", "x3", "y3", "13", "23", ""}}));

    pane.selectSourcePointRow(2);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardTable(), (Rows{{"NO.", "X", "Y", "PIXEL H", "PIXEL V", residual},
                                      {"3", "x3", "y3", "13", "23", ""}}));

    // The generated graph: two rows of four chosen, its spare column left out.
    GeneratedGraph g;
    g.generatedX = {1, 2, 3, 4};
    g.generatedY = {10, 20, 30, 40};
    g.generatedCount = 4;
    pane.fillGeneratedGraph(g, 4);
    QTableWidget* graph = pane.graphPointList();
    graph->selectionModel()->select(graph->model()->index(3, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    graph->selectionModel()->select(graph->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(graph->actions().size(), 1);
    EXPECT_EQ(graph->contextMenuPolicy(), Qt::ActionsContextMenu);
    graph->actions().front()->trigger();
    EXPECT_EQ(clipboardTable(), (Rows{{"NO.", "X", "Y"}, {"2", "2", "20"}, {"4", "4", "40"}}));
}

}  // namespace
}  // namespace qf
