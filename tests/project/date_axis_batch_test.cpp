// A date axis from the typed dates to the files: the fixture chart's X runs
// from 2024-02-20 to 2024-04-05 over the leap day and the change to daylight
// saving time, two hours a pixel, so that every point's date is exact.

#include <gtest/gtest.h>

#include <QLocale>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "../support/file_bytes.h"
#include "../support/time_zone.h"
#include "points/source_point_file.h"
#include "project/batch.h"
#include "project/project_file.h"
#include "settings/panel_settings.h"
#include "ui/date_text.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

const fs::path kFixture = fs::path(QF_SOURCE_DIR) / "tests/data/dates";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class DateAxisBatch : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("qf_dates_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        fs::copy_file(kFixture / "date_chart.png", dir_ / "date_chart.png");
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(DateAxisBatch, TypedDatesReachThePointsTheCsvFilesAndFitJson) {
    // New York's rules: the clocks go forward on 2024-03-10, between the
    // two ends typed below.
    const test::ScopedTimeZone newYork("EST5EDT,M3.2.0,M11.1.0");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const ProjectReadResult fixture =
        readProjectFile((kFixture / "date_chart.quillfen.json").string());
    ASSERT_TRUE(fixture.ok) << fixture.error;

    // The user's steps: the fixture's points on a fresh axis, the scale
    // turned to dates, the ends typed as the user's clock shows them.
    DocumentRecord p = fixture.project;
    p.axis = AxisSettings{};
    p.axis.axisRect = fixture.project.axis.axisRect;
    PanelSettings s = panelSettingsOf(p);
    const auto type = [&s, &us](PanelItem item, const char* text) {
        storeItemText(s, item, dateTextForSettings(text, us).toStdString());
    };
    type(PanelItem::XScale, "日付");
    type(PanelItem::XMin, "2/19/24 7:00 PM");  // EST, UTC-5
    type(PanelItem::XMax, "4/4/24 8:00 PM");   // EDT, UTC-4
    type(PanelItem::YMax, "20");
    (void)applyPanelSettings(s, p);
    EXPECT_EQ(p.axis, fixture.project.axis);
    EXPECT_EQ(itemText(s, PanelItem::XMin), "2024-02-20");
    EXPECT_EQ(itemText(s, PanelItem::XMax), "2024-04-05");

    const fs::path project = dir_ / "dates.quillfen.json";
    ASSERT_EQ(writeProjectFile(project.string(), p), "");
    BatchOptions options{project.string(), (dir_ / "out").string()};
    options.utf8Csv = true;
    std::ostringstream out, err;
    ASSERT_EQ(runBatch(options, out, err), BatchOk) << err.str();

    // Each point's date, at noon around the leap day and both changes of
    // the clocks (New York's, Berlin's on 2024-03-31).
    EXPECT_EQ(linesOf(test::readAll(dir_ / "out/points.csv")),
              (std::vector<std::string>{
                  "No.,X,Y,H,V", "1,2024-02-22T00:00:00Z,10.4,94,136",
                  "2,2024-02-28T12:00:00Z,11.7,172,123", "3,2024-02-29T12:00:00Z,11.9,184,121",
                  "4,2024-03-01T12:00:00Z,12.1,196,119", "5,2024-03-10T12:00:00Z,13.9,304,101",
                  "6,2024-03-21T00:00:00Z,16,430,80", "7,2024-03-31T12:00:00Z,18.1,556,59"}));

    // Read back, the dates are no obstacle: the points are their pixels.
    const SourcePointFileRead back = readSourcePointText(test::readAll(dir_ / "out/points.csv"));
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.points, fixture.project.current().points);

    // The fit's x is days since the minimum: y = 10 + 0.2 x, and the curve
    // is sampled a day a point, each written as its date.
    const std::vector<std::string> fit = linesOf(test::readAll(dir_ / "out/fit.csv"));
    ASSERT_GE(fit.size(), 46u);
    EXPECT_EQ(fit[2], "x: 2024-02-20T00:00:00Z からの日数");
    const std::vector<std::string> rows(fit.end() - 47, fit.end());
    EXPECT_EQ(rows[0], "No.,X,Y");
    EXPECT_EQ(rows[1], "1,2024-02-20T00:00:00Z,10");
    EXPECT_EQ(rows[9], "9,2024-02-28T00:00:00Z,11.6");
    EXPECT_EQ(rows[10], "10,2024-02-29T00:00:00Z,11.8");
    EXPECT_EQ(rows[11], "11,2024-03-01T00:00:00Z,12");
    EXPECT_EQ(rows[20], "20,2024-03-10T00:00:00Z,13.8");
    EXPECT_EQ(rows[21], "21,2024-03-11T00:00:00Z,14");
    EXPECT_EQ(rows[46], "46,2024-04-05T00:00:00Z,19");
    EXPECT_NE(out.str().find("x: 2024-02-20T00:00:00Z からの日数\n"), std::string::npos)
        << out.str();

    const nlohmann::json j = nlohmann::json::parse(test::readAll(dir_ / "out/fit.json"));
    EXPECT_EQ(j["xTime"]["origin"], "2024-02-20T00:00:00Z");
    EXPECT_EQ(j["xTime"]["unit"], "days");
    EXPECT_FALSE(j.contains("yTime"));
    const auto c = j["plain"]["coefficients"].get<std::vector<double>>();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_NEAR(c[0], 10.0, 1e-9);
    EXPECT_NEAR(c[1], 0.2, 1e-11);
    EXPECT_NEAR(j["statistics"]["rmse"].get<double>(), 0.0, 1e-9);
}

}  // namespace
}  // namespace qf
