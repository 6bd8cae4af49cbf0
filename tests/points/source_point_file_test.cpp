#include "points/source_point_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/cp932.h"
#include "common/csv_file.h"

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

// Both written forms read back to the points they were written from, and so
// does what a spreadsheet or an editor makes of them.
TEST(SourcePointFile, ReadsBackEveryFormItIsSavedIn) {
    std::vector<SourcePoint> list;
    addSourcePoint(list, {80, 76});
    addSourcePoint(list, {30, 40});
    AxisSettings axis;
    axis.xLog = true;  // X of the first point is "<?>": the positions still read
    const std::string text = sourcePointFileText(list, axis);
    const std::string cp932 = csvFileBytes(text, CsvEncoding::Cp932).bytes;
    const std::string utf8 = csvFileBytes(text, CsvEncoding::Utf8).bytes;
    ASSERT_EQ(cp932.back(), '\0');
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"code page 932 with its NUL", cp932},
        {"UTF-8, LF", utf8},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8},
        {"no header", "1,0.5,0.3,80,76\n2,-0.5,1.5,30,40"},
        {"blank lines, no final line end", "\r\nNo.,X,Y,H,V\r\n\r\n1,a,b,80,76\r\n2,c,d,30,40"},
        {"columns moved, quoted, spreadsheet numbers",
         "\"V\";\"H\";\"X\"\n\"76\";\"80.0\";1\n40;30;2\n"},
        {"tabs", "H\tV\n80\t76\n30\t40\n"},
    };
    for (const auto& c : cases) {
        const SourcePointFileRead r = readSourcePointText(c.bytes);
        EXPECT_TRUE(r.ok()) << c.what << ": " << r.error;
        EXPECT_EQ(r.points, list) << c.what;
    }
}

TEST(SourcePointFile, RefusesAFileThatHoldsNoPointsAsAWhole) {
    std::string full = "No.,X,Y,H,V\n";
    for (int i = 0; i <= kMaxSourcePoints; ++i) full += "1,0,0,5,6\n";
    const struct {
        const char* bytes;
        const char* message;
    } cases[] = {
        {"", "ファイルに点がありません。"},
        {"No.,X,Y,H,V\r\n", "ファイルに点がありません。"},
        {"No.,X,Y,H\r\n1,0,0,5\r\n", "1 行目の見出しに H と V の列がありません。"},
        {"1,0,0,5,6\n2,0,0,5.5,6\n",
         "2 行目は点の行ではありません (H と V に整数の画素位置が要ります)。"},
        {"1,0,0,5,6\n2,0,0,5\n",
         "2 行目は点の行ではありません (H と V に整数の画素位置が要ります)。"},
        {"H,V\n1e30,6\n", "2 行目は点の行ではありません (H と V に整数の画素位置が要ります)。"},
        {"\x83\x6e\x83\x8d\x81\x5b\n",
         "1 行目は点の行ではありません (H と V に整数の画素位置が要ります)。"},
    };
    for (const auto& c : cases) {
        const SourcePointFileRead r = readSourcePointText(c.bytes);
        EXPECT_TRUE(r.points.empty()) << c.bytes;
        EXPECT_EQ(r.error, c.message) << c.bytes;
    }
    const SourcePointFileRead tooMany = readSourcePointText(full);
    EXPECT_TRUE(tooMany.points.empty());
    EXPECT_EQ(tooMany.error, "258 行目: 点は 256 個までです。");
}

}  // namespace
}  // namespace qf
