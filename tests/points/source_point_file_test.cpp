#include "points/source_point_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/cp932.h"

namespace qf {
namespace {

TEST(SourcePointFile, HeaderAndRows) {
    std::vector<SourcePoint> list;
    addSourcePoint(list, {80, 76});
    addSourcePoint(list, {30, 40});
    EXPECT_EQ(sourcePointFileText(list, AxisSettings{}),
              "No.,X,Y,H,V\r\n1,0.5,0.3,80,76\r\n2,-0.5,1.5,30,40\r\n");
    EXPECT_EQ(sourcePointFileText({}, AxisSettings{}), "No.,X,Y,H,V\r\n");
}

TEST(SourcePointFile, UndefinedValuesAndExponents) {
    std::vector<SourcePoint> list;
    addSourcePoint(list, {80, 76});
    AxisSettings a;
    a.xLog = 1;  // from 0: undefined
    a.yMax = 5e-5;
    EXPECT_EQ(sourcePointFileText(list, a), "No.,X,Y,H,V\r\n1,<?>,1.5E-005,80,76\r\n");
}

TEST(SourcePointFile, FullListWrites257LinesAndOneNul) {
    std::vector<SourcePoint> list;
    for (int i = 0; i < kMaxSourcePoints; ++i) addSourcePoint(list, {55 + i % 50, 85 - i % 30});
    const std::string text = sourcePointFileText(list, AxisSettings{});

    const auto path = std::filesystem::temp_directory_path() / "qf_source_points_test.csv";
    ASSERT_TRUE(writeCp932File(path, text).ok);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);

    EXPECT_EQ(bytes, text + '\0');
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 257);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 257);
    const std::string last = std::string("256,0.1,0.5,60,70\r\n") + '\0';
    EXPECT_EQ(bytes.substr(bytes.size() - last.size()), last);
}

}  // namespace
}  // namespace qf
