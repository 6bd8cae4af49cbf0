// A date axis in the window: the fixture chart (X from 2024-02-20 to
// 2024-04-05, two hours a pixel) opened as a project, its dates shown and
// typed in the pane, listed, fitted and saved.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/application_window.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "settings/settings_pane.h"
#include "support/fake_dialogs.h"
#include "support/time_zone.h"
#include "window_driver.h"

namespace qf {
namespace {

using testing_support::chooseInPane;
using testing_support::enterInPane;

class DateAxisWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString from = QStringLiteral(QF_SOURCE_DIR "/tests/data/dates/");
        for (const char* name : {"date_chart.png", "date_chart.quillfen.json"})
            ASSERT_TRUE(QFile::copy(from + name, dir.filePath(name)));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        w.frame().resize(1000, 700);
        w.frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    void command(int id) {
        w.frame().triggerCommand(id);
        QApplication::processEvents();
    }
    SettingsGrid& grid() { return *w.properties().grid(); }
    // Another row becomes the current one, so that a click edits the next.
    void moveOn() { grid().tree()->setCurrentIndex(grid().nameIndex(PanelItem::YMax)); }
    std::string shown(PanelItem item) { return grid().valueText(item).toStdString(); }
    std::string cell(QTableWidget* list, int row, int column) {
        const QTableWidgetItem* item = list->item(row, column);
        return item ? item->text().toStdString() : std::string();
    }

    const test::ScopedTimeZone newYork{"EST5EDT,M3.2.0,M11.1.0"};
    QTemporaryDir dir;
    testing_support::FakeDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
};

TEST_F(DateAxisWindowTest, DatesAreShownTypedListedFittedAndSaved) {
    ASSERT_TRUE(w.projects().openPath(dir.filePath("date_chart.quillfen.json")));
    OutputPane& out = *w.frame().outputPane();
    EXPECT_EQ(shown(PanelItem::XScale), "日付");
    EXPECT_EQ(shown(PanelItem::XMin), "2024-02-20");
    EXPECT_EQ(shown(PanelItem::XMax), "2024-04-05");
    EXPECT_EQ(shown(PanelItem::YMax), "20");
    EXPECT_EQ(cell(out.sourcePointList(), 2, 1), "2024-02-29T12:00:00Z");
    EXPECT_EQ(cell(out.sourcePointList(), 4, 1), "2024-03-10T12:00:00Z");

    // Linear shows the seconds since the epoch; dates again, the dates.
    chooseInPane(grid(), PanelItem::XScale, "リニア");
    EXPECT_EQ(shown(PanelItem::XMin), "1.70839E+009");
    EXPECT_FALSE(w.projects().document().record().axis.xTime);
    moveOn();
    chooseInPane(grid(), PanelItem::XScale, "日付");
    EXPECT_EQ(shown(PanelItem::XMin), "2024-02-20");

    // Typed in the locale's form, the user's clock (daylight saving time
    // from 10 March); a text that is no date leaves the value.
    enterInPane(grid(), PanelItem::XMax, "4/5/24 8:00 PM");
    EXPECT_EQ(shown(PanelItem::XMax), "2024-04-06");
    moveOn();
    enterInPane(grid(), PanelItem::XMax, "next week");
    EXPECT_EQ(shown(PanelItem::XMax), "2024-04-06");
    EXPECT_EQ(cell(out.sourcePointList(), 2, 1), "2024-02-29T17:04:00Z");
    moveOn();
    enterInPane(grid(), PanelItem::XMax, "2024-04-05");
    EXPECT_EQ(cell(out.sourcePointList(), 2, 1), "2024-02-29T12:00:00Z");

    command(ID_FIT_RUN);
    QTableWidget* graph = out.graphPointList();
    ASSERT_EQ(graph->rowCount(), 46);
    EXPECT_EQ(cell(graph, 9, 1), "2024-02-29T00:00:00Z");
    EXPECT_EQ(cell(graph, 9, 2), "11.8");
    EXPECT_TRUE(out.reportText(OutputPane::PageFitOutput)
                    ->toPlainText()
                    .contains(QStringLiteral("x: 2024-02-20T00:00:00Z からの日数")));

    const QString saved = dir.filePath("saved");
    dialogs.saveAnswers = {saved};
    command(ID_PROJECT_SAVE_AS);
    QFile file(saved + ".quillfen.json");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(
        text.contains("\"xMin\": \"2024-02-20T00:00:00Z\",\n    \"xMax\": "
                      "\"2024-04-05T00:00:00Z\",\n    \"xLog\": false,\n    \"xTime\": true"))
        << text.toStdString();
}

}  // namespace
}  // namespace qf
