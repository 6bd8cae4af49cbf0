#include "document/series_edit.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

DocumentRecord threeSeries() {
    DocumentRecord r;
    r.current().name = "a";
    r.current().points = {{1, 1}, {2, 2}};
    for (const char* name : {"b", "c"}) {
        Series s;
        s.name = name;
        s.colour = unusedSeriesColour(r);
        EXPECT_TRUE(addSeries(r, s));
    }
    return r;
}

TEST(SeriesEdit, AddedSeriesBecomeActiveInColoursOfTheirOwn) {
    const DocumentRecord r = threeSeries();
    ASSERT_EQ(r.series.size(), 3u);
    EXPECT_EQ(r.active, 2);
    EXPECT_EQ(r.series[0].colour, kFirstSeriesColour);
    EXPECT_NE(r.series[1].colour, r.series[0].colour);
    EXPECT_NE(r.series[2].colour, r.series[1].colour);
    EXPECT_NE(r.series[2].colour, r.series[0].colour);
}

// Deleting keeps the active series the one the user was on, or moves to
// the next one (or the last) when it is the one deleted.
TEST(SeriesEdit, DeletingKeepsTheActiveSeriesWherePossible) {
    struct Case {
        int active, removed;
        const char* activeAfter;
    };
    const Case cases[] = {
        {0, 2, "a"}, {2, 0, "c"}, {1, 1, "c"}, {0, 0, "b"}, {2, 2, "b"},
    };
    for (const Case& c : cases) {
        DocumentRecord r = threeSeries();
        r.active = c.active;
        ASSERT_TRUE(removeSeries(r, c.removed));
        EXPECT_EQ(r.series.size(), 2u);
        EXPECT_EQ(r.current().name, c.activeAfter) << c.active << " " << c.removed;
    }
}

TEST(SeriesEdit, RefusalsLeaveTheRecordAlone) {
    DocumentRecord one;
    EXPECT_FALSE(removeSeries(one, 0));  // a document keeps one series
    DocumentRecord r = threeSeries();
    const DocumentRecord before = r;
    EXPECT_FALSE(removeSeries(r, 3));
    EXPECT_FALSE(removeSeries(r, -1));
    EXPECT_FALSE(renameSeries(r, 5, "x"));
    EXPECT_FALSE(setActiveSeries(r, 3));
    EXPECT_FALSE(movePoint(r, 0, 2, 1));  // no third point
    EXPECT_FALSE(movePoint(r, 0, 0, 0));
    EXPECT_FALSE(movePoint(r, 0, 0, 7));
    EXPECT_EQ(r, before);

    while (r.series.size() < kMaxSeries) ASSERT_TRUE(addSeries(r, Series{}));
    EXPECT_FALSE(addSeries(r, Series{}));

    DocumentRecord full = threeSeries();
    full.series[1].points.assign(256, SourcePoint{3, 3});
    EXPECT_FALSE(movePoint(full, 0, 0, 1));
    EXPECT_EQ(full.series[0].points.size(), 2u);
}

TEST(SeriesEdit, APointMovesToTheEndOfAnotherSeries) {
    DocumentRecord r = threeSeries();
    r.series[1].points = {{9, 9}};
    ASSERT_TRUE(movePoint(r, 0, 0, 1));
    EXPECT_EQ(r.series[0].points, (std::vector<SourcePoint>{{2, 2}}));
    EXPECT_EQ(r.series[1].points, (std::vector<SourcePoint>{{9, 9}, {1, 1}}));
    EXPECT_EQ(totalPointCount(r), 3u);
}

}  // namespace
}  // namespace qf
