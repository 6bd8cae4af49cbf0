#include "project/series_output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "points/calibration.h"

namespace qf {
namespace {

std::vector<Series> named(const std::vector<std::string>& names) {
    std::vector<Series> series;
    for (const std::string& n : names) {
        series.emplace_back();
        series.back().name = n;
    }
    return series;
}

// Every name becomes a folder of its own directly below the output folder,
// readable where it can be, and never one of the set's own files.
TEST(SeriesFolders, NamesBecomeSafeUniqueFolders) {
    const struct Case {
        std::vector<std::string> names;
        std::vector<std::string> folders;
    } cases[] = {
        {{"blue", "red"}, {"blue", "red"}},
        {{"青", "温度 (°C)"}, {"青", "温度 (°C)"}},
        {{"a/b", "..", "../up", "c\\d"}, {"a_b", "series-2", "_up", "c_d"}},
        {{"tab\there", "line\nend", "x\x7f", "bell\x01"}, {"tab_here", "line_end", "x_", "bell_"}},
        {{".hidden", "dots...", "  blank  "}, {"hidden", "dots", "blank"}},
        {{"", "", "named"}, {"series-1", "series-2", "named"}},
        {{"a", "a", "A", "a-2"}, {"a", "a-2", "A-3", "a-2-2"}},
        {{"points.csv", "Fit.json", "series.csv", "working.png"},
         {"series-1", "series-2", "series-3", "series-4"}},
        {{"series-2", ""}, {"series-2", "series-2-2"}},
        // Bytes that are no UTF-8 (a project written by hand), and a C1 control.
        {{"bad\xff\xfe", "cut\xe6\x9d", "c1\xc2\x85"}, {"bad__", "cut__", "c1_"}},
        {{"a:b*c?d\"e<f>g|h"}, {"a_b_c_d_e_f_g_h"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.front());
        EXPECT_EQ(seriesFolderNames(named(c.names)), c.folders);
    }
}

// A long name is cut between characters, never inside one.
TEST(SeriesFolders, ALongNameIsCutBetweenCharacters) {
    std::string name;
    for (int i = 0; i < 100; ++i) name += "曲";  // three bytes each
    const std::string folder = seriesFolderNames(named({name})).front();
    EXPECT_LE(folder.size(), 120u);
    EXPECT_GE(folder.size(), 117u);
    EXPECT_EQ(folder.size() % 3, 0u);
    EXPECT_EQ(name.substr(0, folder.size()), folder);
}

SeriesValues values(const std::string& label, std::vector<double> x, std::vector<double> y) {
    return {label, std::move(x), std::move(y)};
}

// The wide table: every X any series has, each series' own Y where it has
// a point, interpolated between its points elsewhere and empty beyond them.
TEST(SeriesTables, WideRowsInterpolateEachSeriesWithinItsRange) {
    AxisSettings linear;
    const std::vector<SeriesValues> series = {
        values("a", {0, 2, 4}, {0, 20, 40}),
        values("b, c", {3, 1}, {30, 10}),   // clicked right to left
        values("d", {2, 2, 5}, {1, 3, 8}),  // two points at one X: their mean
    };
    EXPECT_EQ(seriesWideCsvText(series, linear),
              "x,a,\"b, c\",d\r\n"
              "0,0,,\r\n"
              "1,10,10,\r\n"
              "2,20,20,2\r\n"
              "3,30,30,4\r\n"
              "4,40,,6\r\n"
              "5,,,8\r\n");

    // On logarithmic axes a straight line of the chart stays one.
    AxisSettings log;
    log.xLog = log.yLog = true;
    const std::string text =
        seriesWideCsvText({values("p", {1, 100}, {10, 1000}), values("q", {10}, {5})}, log);
    EXPECT_EQ(text, "x,p,q\r\n1,10,\r\n10,100,5\r\n100,1000,\r\n");
}

// The long table names each point's series, quoting names a CSV reader
// would split, with numbers that read back as the same doubles.
TEST(SeriesTables, LongRowsNameTheirSeries) {
    EXPECT_EQ(seriesLongCsvText(
                  {values("x \"y\", z", {0.1, 1.0 / 3}, {2e-7, 1e21}), values("青", {5}, {-1})}),
              "series,x,y\r\n"
              "\"x \"\"y\"\", z\",0.1,2e-07\r\n"
              "\"x \"\"y\"\", z\",0.3333333333333333,1e+21\r\n"
              "青,5,-1\r\n");
}

// Points the axes give no value (a log axis set up below zero) are left out
// rather than written as text a reader cannot parse.
TEST(SeriesTables, PointsWithoutAValueAreLeftOut) {
    AxisSettings axis;
    axis.axisRect = {0, 0, 100, 100};
    axis.xMin = 0;
    axis.xMax = 10;
    axis.yLog = true;
    axis.yMin = -1;  // no logarithm
    EXPECT_TRUE(seriesValuesOf("s", {{10, 10}, {20, 20}}, axis).x.empty());
    axis.yMin = 1;
    axis.yMax = 100;
    const SeriesValues v = seriesValuesOf("s", {{50, 50}}, axis);
    ASSERT_EQ(v.x.size(), 1u);
    EXPECT_DOUBLE_EQ(v.x[0], 5);
    EXPECT_NEAR(v.y[0], 10, 1e-12);
}

}  // namespace
}  // namespace qf
