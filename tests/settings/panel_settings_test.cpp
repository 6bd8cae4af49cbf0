// The panel's settings: lenient number reading, the conversion of item texts
// and how the settings reach the view's state.

#include "settings/panel_settings.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <functional>
#include <string>
#include <vector>

namespace qf {
namespace {

TEST(ParseSingle, ReadsLikePercentGIntoSinglePrecision) {
    struct Case {
        const char* text;
        double expected;
    } const cases[] = {
        {"abc", 0.0},
        {"", 0.0},
        {"   ", 0.0},
        {" 2.5e3x ", 2500.0},
        {"0.1", static_cast<double>(0.1F)},
        {"-3", -3.0},
        {"+4.5", 4.5},
        {".5", 0.5},
        {"1.5E-005", static_cast<double>(1.5e-5F)},
        {"1e39", FLT_MAX},  // beyond single precision: the largest finite value
        {"-1e39", -FLT_MAX},
        {"inf", 0.0},  // spelt-out non-numbers never reach the axes
        {"-infinity", 0.0},
        {"nan", 0.0},
        {"1,5", 1.0},  // the decimal point is always "."
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<double>(parseSingle(c.text)), c.expected) << '"' << c.text << '"';
    }
    // Widened, not re-read as double.
    EXPECT_NEAR(static_cast<double>(parseSingle("0.1")), 0.100000001490116, 1e-15);
    EXPECT_NE(static_cast<double>(parseSingle("0.1")), 0.1);
}

TEST(ParseSingle, IgnoresTheUsersDecimalComma) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale";
    const float half = parseSingle("0.5");
    const float comma = parseSingle("0,5");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(half, 0.5F);
    EXPECT_EQ(comma, 0.0F);
}

TEST(ParseInteger, ReadsLeadingDecimalDigits) {
    struct Case {
        const char* text;
        int expected;
    } const cases[] = {
        {"300", 300},
        {"abc", 0},
        {"", 0},
        {" 42x", 42},
        {"-20", -20},
        {"+7", 7},
        {"3.9", 3},
        {"- 5", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"0x10", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(parseInteger(c.text), c.expected) << '"' << c.text << '"';
}

// A starting point that differs from the defaults wherever a list item can
// leave a field unchanged.
PanelSettings nonDefault() {
    PanelSettings s;
    s.modelKind = 1;
    s.degree = 3;
    s.xLog = 1;
    s.yLog = 1;
    s.showMarkers = 0;
    s.showLines = 1;
    s.showNumbers = 0;
    s.showGrid = 0;
    s.colour = 0x00FF00;
    s.extractTolerance = 60;
    s.extractCount = 33;
    s.extractGap = 4;
    return s;
}

TEST(StoreItemText, ConvertsEachItemAndTouchesNothingElse) {
    using I = PanelItem;
    using Edit = std::function<void(PanelSettings&)>;
    struct Case {
        PanelItem item;
        const char* text;
        Edit expected;  // applied to the starting settings
    };
    const Edit unchanged = [](PanelSettings&) {};
    const std::vector<Case> cases = {
        {I::ModelKind, "ｎ次多項式", [](PanelSettings& s) { s.modelKind = 0; }},
        {I::ModelKind, "指数関数積", [](PanelSettings& s) { s.modelKind = 1; }},
        {I::ModelKind, "任意関数 線型和", [](PanelSettings& s) { s.modelKind = 2; }},
        {I::ModelKind, "n次多項式", unchanged},  // half-width n is another text
        {I::ModelKind, "", unchanged},
        {I::Degree, "-20", [](PanelSettings& s) { s.degree = -20; }},
        {I::Degree, "20", [](PanelSettings& s) { s.degree = 20; }},
        // A typed degree: a whole number the list offers, else refused.
        {I::Degree, " +7 ", [](PanelSettings& s) { s.degree = 7; }},
        {I::Degree, "21", unchanged},
        {I::Degree, "-21", unchanged},
        {I::Degree, "3x", unchanged},
        {I::Degree, "+-5", unchanged},
        {I::Degree, "", unchanged},
        {I::Basis0, "sin(x", [](PanelSettings& s) { s.basisExpr[0] = "sin(x"; }},
        {I::Basis5, " x * x ", [](PanelSettings& s) { s.basisExpr[5] = " x * x "; }},
        {I::XMin, "0.1", [](PanelSettings& s) { s.xMin = static_cast<double>(0.1F); }},
        {I::XMax, "abc", [](PanelSettings& s) { s.xMax = 0.0; }},
        {I::YMin, " 2.5e3x ", [](PanelSettings& s) { s.yMin = 2500.0; }},
        {I::YMax, "-1E+002", [](PanelSettings& s) { s.yMax = -100.0; }},
        {I::XScale, "リニア", [](PanelSettings& s) { s.xLog = 0; }},
        {I::XScale, "log", unchanged},
        {I::YScale, "リニア", [](PanelSettings& s) { s.yLog = 0; }},
        {I::YScale, "対数", unchanged},
        {I::GraphPointCount, "300", [](PanelSettings& s) { s.graphPointCount = 300; }},
        {I::GraphPointCount, "5", [](PanelSettings& s) { s.graphPointCount = 5; }},
        {I::PointDisplay, "点",
         [](PanelSettings& s) { s.showMarkers = 1, s.showLines = 0, s.showNumbers = 0; }},
        {I::PointDisplay, "線", unchanged},
        {I::PointDisplay, "点 + 線",
         [](PanelSettings& s) { s.showMarkers = 1, s.showLines = 1, s.showNumbers = 0; }},
        {I::PointDisplay, "点 + 番号",
         [](PanelSettings& s) { s.showMarkers = 1, s.showLines = 0, s.showNumbers = 1; }},
        {I::PointDisplay, "点+線", unchanged},
        {I::Grid, "表示", [](PanelSettings& s) { s.showGrid = 1; }},
        {I::Grid, "非表示", unchanged},
        {I::Grid, "何か", [](PanelSettings& s) { s.showGrid = 1; }},  // all but "非表示"
        // The extraction's numbers stay within their ranges.
        {I::ExtractTolerance, "25", [](PanelSettings& s) { s.extractTolerance = 25; }},
        {I::ExtractTolerance, "0", [](PanelSettings& s) { s.extractTolerance = 1; }},
        {I::ExtractTolerance, "999", [](PanelSettings& s) { s.extractTolerance = 255; }},
        {I::ExtractCount, "200", [](PanelSettings& s) { s.extractCount = 128; }},
        {I::ExtractCount, "-3", [](PanelSettings& s) { s.extractCount = 1; }},
        {I::ExtractGap, "x", [](PanelSettings& s) { s.extractGap = 1; }},
        {I::ExtractGap, "30", [](PanelSettings& s) { s.extractGap = 30; }},
    };
    for (const Case& c : cases) {
        PanelSettings actual = nonDefault();
        PanelSettings expected = nonDefault();
        c.expected(expected);
        EXPECT_TRUE(storeItemText(actual, c.item, c.text));
        EXPECT_EQ(actual, expected)
            << "item " << static_cast<int>(c.item) << " \"" << c.text << '"';
    }
    for (PanelItem noText : {I::Colour, I::Font}) {
        PanelSettings s = nonDefault();
        EXPECT_FALSE(storeItemText(s, noText, "0"));
        EXPECT_EQ(s, nonDefault());
    }
}

TEST(ItemText, ReadsBackAsTheSameSettings) {
    PanelSettings edited = nonDefault();
    edited.xMin = static_cast<double>(0.25F);
    edited.yMax = static_cast<double>(-1e-5F);
    edited.basisExpr[2] = "sqrt(x)";
    for (const PanelSettings& start : {PanelSettings{}, nonDefault(), edited}) {
        for (int k = 0; k <= static_cast<int>(PanelItem::Grid); ++k) {
            const auto item = static_cast<PanelItem>(k);
            PanelSettings s = start;
            ASSERT_TRUE(storeItemText(s, item, itemText(start, item)));
            EXPECT_EQ(s, start) << "item " << k << " \"" << itemText(start, item) << '"';
        }
    }
    EXPECT_EQ(itemText(PanelSettings{}, PanelItem::XMax), "1");
    EXPECT_EQ(itemText(edited, PanelItem::YMax), "-1E-005");
}

TEST(ApplyPanelSettings, DefaultsAgreeWithTheDocument) {
    DocumentRecord view;
    EXPECT_FALSE(applyPanelSettings(PanelSettings{}, view));
    EXPECT_EQ(panelSettingsOf(DocumentRecord{}), PanelSettings{});
}

TEST(ApplyPanelSettings, RefreshesOnlyForWhatIsDrawn) {
    using Edit = std::function<void(PanelSettings&)>;
    struct Case {
        const char* what;
        Edit edit;
        bool refresh;
    };
    const std::vector<Case> cases = {
        {"nothing", [](PanelSettings&) {}, false},
        {"model", [](PanelSettings& s) { s.modelKind = 2; }, false},
        {"degree", [](PanelSettings& s) { s.degree = -3; }, false},
        {"formula", [](PanelSettings& s) { s.basisExpr[4] = "exp(x)"; }, false},
        {"count", [](PanelSettings& s) { s.graphPointCount = 300; }, false},
        {"all fit settings",
         [](PanelSettings& s) { s.modelKind = 1, s.degree = 7, s.graphPointCount = 10; }, false},
        {"xMin", [](PanelSettings& s) { s.xMin = 0.5; }, true},
        {"xMax", [](PanelSettings& s) { s.xMax = 10; }, true},
        {"yMin", [](PanelSettings& s) { s.yMin = -1; }, true},
        {"yMax", [](PanelSettings& s) { s.yMax = 2; }, true},
        {"xLog", [](PanelSettings& s) { s.xLog = 1; }, true},
        {"yLog", [](PanelSettings& s) { s.yLog = 1; }, true},
        {"markers", [](PanelSettings& s) { s.showMarkers = 0; }, true},
        {"lines", [](PanelSettings& s) { s.showLines = 0; }, true},
        {"numbers", [](PanelSettings& s) { s.showNumbers = 1; }, true},
        {"grid", [](PanelSettings& s) { s.showGrid = 0; }, true},
        {"colour alone", [](PanelSettings& s) { s.colour = 0x0000FF; }, true},
    };
    for (const Case& c : cases) {
        PanelSettings s;
        c.edit(s);
        DocumentRecord view;
        EXPECT_EQ(applyPanelSettings(s, view), c.refresh) << c.what;
        EXPECT_EQ(panelSettingsOf(view), s) << c.what;
        // Everything arrives, whether or not it is drawn.
        EXPECT_EQ(view.current().fit.modelKind, s.modelKind) << c.what;
        EXPECT_EQ(view.current().fit.degree, s.degree) << c.what;
        for (size_t k = 0; k < 6; ++k) EXPECT_EQ(view.current().fit.basisExpr[k], s.basisExpr[k]);
        EXPECT_EQ(view.current().fit.graphPointCount, s.graphPointCount) << c.what;
        EXPECT_EQ(view.axis.xMin, s.xMin) << c.what;
        EXPECT_EQ(view.axis.xMax, s.xMax) << c.what;
        EXPECT_EQ(view.axis.yMin, s.yMin) << c.what;
        EXPECT_EQ(view.axis.yMax, s.yMax) << c.what;
        EXPECT_EQ(view.axis.xLog, s.xLog) << c.what;
        EXPECT_EQ(view.axis.yLog, s.yLog) << c.what;
        EXPECT_EQ(view.graph,
                  (GraphStyle{s.showGrid, s.showMarkers, s.showLines, s.showNumbers, s.colour}))
            << c.what;
        // Applying the same settings again changes nothing visible.
        EXPECT_FALSE(applyPanelSettings(s, view)) << c.what;
    }
}

TEST(ApplyPanelSettings, LeavesTheRestOfTheRecordAlone) {
    DocumentRecord view;
    view.axis.axisRect = {10, 20, 300, 200};
    view.current().points = {{1, 2}, {3, 4}};
    view.image = "chart.png";
    DocumentRecord expected = view;
    expected.axis.xLog = 1;
    PanelSettings s;
    s.xLog = 1;
    EXPECT_TRUE(applyPanelSettings(s, view));
    EXPECT_EQ(view, expected);
}

// Values the panel cannot type (a project's 0.1 as a double) come back
// through the panel unchanged, so a later edit of another item keeps them.
TEST(ApplyPanelSettings, ARecordsValuesSurviveThePanel) {
    DocumentRecord r;
    r.axis.xMin = 0.1;
    r.axis.yMax = 1e-300;
    r.current().fit.basisExpr[2] = "sin(x)";
    PanelSettings s = panelSettingsOf(r);
    s.degree = 3;
    DocumentRecord after = r;
    EXPECT_FALSE(applyPanelSettings(s, after));
    EXPECT_EQ(after.axis, r.axis);
    EXPECT_EQ(after.current().fit.degree, 3);
    EXPECT_EQ(after.current().fit.basisExpr, r.current().fit.basisExpr);
}

}  // namespace
}  // namespace qf
