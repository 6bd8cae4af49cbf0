// The batch mode on a project of several series, and a project used as a
// template for other pictures.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../support/child_process.h"
#include "../support/file_bytes.h"
#include "common/result_set.h"
#include "project/batch.h"
#include "project/batch_set.h"
#include "project/project_file.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

const fs::path kCharts = fs::path(QF_SOURCE_DIR) / "tests/data/extraction";

using test::readAll;

// Every file below dir by its path relative to dir.
std::map<std::string, std::string> filesBelow(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = readAll(e.path());
    return files;
}

std::size_t linesIn(const std::string& text) {
    return std::size_t(std::count(text.begin(), text.end(), '\n'));
}

Series series(const std::string& name, uint32_t colour, IntPoint seed) {
    Series s;
    s.name = name;
    s.colour = colour;
    s.extractSeed = seed;
    return s;
}

BatchOptions into(const fs::path& out, bool wide = false) {
    BatchOptions o;
    o.outDir = out.string();
    o.wideCsv = wide;
    return o;
}

BatchSetOptions withPictures(const std::string& templ, const std::vector<fs::path>& pictures) {
    BatchSetOptions o;
    o.projects = {templ};
    for (const fs::path& p : pictures) o.images.push_back(p.string());
    return o;
}

// legend_three.png (three curves and a legend holding their line samples):
// a seed on each curve, a few clicked points, the picture mapped onto itself
// so the curves keep their colours.
DocumentRecord threeSeries() {
    DocumentRecord r;
    r.image = "legend_three.png";
    r.mapping.method = MappingMethod::Perspective;
    r.mapping.corners = {{{0, 0}, {639, 0}, {639, 479}, {0, 479}}};
    r.mapping.graphRect = {0, 0, 640, 480};
    applyMappingNow(r);
    r.axis.xMin = 0;
    r.axis.xMax = 10;
    r.axis.yMin = 0;
    r.axis.yMax = 100;
    r.axis.axisRect = {77, 38, 602, 422};
    Series blue = series("blue", 0xB4771F, {234, 181});
    Series orange = series("オレンジ", 0x0E7FFF, {182, 232});
    orange.points = {{590, 60}, {600, 60}};
    Series green = series("green/dash", 0x2CA02C, {392, 115});
    green.points = {{100, 400}};
    green.fit.degree = 2;
    r.series = {blue, orange, green};
    r.active = 1;
    return r;
}

class BatchSeries : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qf_series_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy_file(kCharts / "legend_three.png", dir_ / "legend_three.png");
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

// Saved, reopened and replayed twice, a three-series document gives the same
// bytes each time, and the same as the record replayed from memory.
TEST_F(BatchSeries, ARoundTripGivesTheSameFiles) {
    const DocumentRecord record = threeSeries();
    const std::string project = (dir_ / "three.quillfen.json").string();
    ASSERT_EQ(writeProjectFile(project, record), "");
    const ProjectReadResult read = readProjectFile(project);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.project, record);

    std::vector<std::map<std::string, std::string>> sets;
    for (const char* out : {"first", "second"}) {
        BatchOptions o = into(dir_ / out, true);
        o.projectPath = project;
        const ProjectRun run = runProject(o);
        ASSERT_EQ(run.status, BatchOk) << run.errors;
        sets.push_back(filesBelow(dir_ / out));
        // A report per series, headed by its name, in order.
        const auto blue = run.report.find("-- blue --\n");
        const auto orange = run.report.find("-- オレンジ --\n");
        const auto green = run.report.find("-- green/dash --\n");
        EXPECT_EQ(blue, 0u);
        EXPECT_LT(blue, orange);
        EXPECT_LT(orange, green);
        EXPECT_NE(green, std::string::npos);
        ASSERT_EQ(run.series.size(), 3u);
        EXPECT_EQ(run.result.fitCoefs, run.series[1].result.fitCoefs);  // the active one's
    }
    const ProjectRun fromMemory =
        runRecord({record, {true, true, true}, (dir_ / "legend_three.png").string()},
                  into(dir_ / "memory", true));
    ASSERT_EQ(fromMemory.status, BatchOk) << fromMemory.errors;
    sets.push_back(filesBelow(dir_ / "memory"));
    EXPECT_TRUE(sets[0] == sets[1]);
    EXPECT_TRUE(sets[0] == sets[2]);

    const std::map<std::string, std::string>& files = sets[0];
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "blue/fit.csv", "blue/graph.png", "blue/points.csv", "fit.json",
                         "green_dash/fit.csv", "green_dash/graph.png", "green_dash/points.csv",
                         "series-wide.csv", "series.csv", "working.png", "オレンジ/fit.csv",
                         "オレンジ/graph.png", "オレンジ/points.csv"}));

    // Extracted points, then the clicked ones, in each series' files; all of
    // them in series.csv under their series' names.
    const std::size_t bluePoints = linesIn(files.at("blue/points.csv")) - 1;
    const std::size_t orangePoints = linesIn(files.at("オレンジ/points.csv")) - 1;
    const std::size_t greenPoints = linesIn(files.at("green_dash/points.csv")) - 1;
    EXPECT_EQ(bluePoints, 20u);  // the extraction's count
    EXPECT_EQ(orangePoints, 22u);
    EXPECT_NE(files.at("オレンジ/points.csv").find(",600,60\r\n"), std::string::npos);
    const std::string& all = files.at("series.csv");
    EXPECT_EQ(linesIn(all), 1 + bluePoints + orangePoints + greenPoints);
    EXPECT_EQ(all.rfind("series,x,y\r\n", 0), 0u);
    EXPECT_NE(all.find("\r\ngreen/dash,"), std::string::npos);
    EXPECT_EQ(files.at("series-wide.csv").rfind("x,blue,", 0), 0u);

    const nlohmann::json j = nlohmann::json::parse(files.at("fit.json"));
    EXPECT_EQ(j["format"], "quillfen-fit");
    EXPECT_EQ(j["version"], 2);
    ASSERT_EQ(j["series"].size(), 3u);
    EXPECT_EQ(j["series"][1]["name"], "オレンジ");
    EXPECT_EQ(j["series"][2]["folder"], "green_dash");
    EXPECT_EQ(j["series"][0]["colour"], "#1F77B4");
    EXPECT_EQ(j["series"][2]["degree"], 2);
    EXPECT_EQ(j["series"][0]["residuals"].size(), bluePoints);
    EXPECT_EQ(j["series"][1]["statistics"]["points"], orangePoints);
}

// A series whose fit cannot run fails the run with its name, and nothing of
// the others is written: the folder never holds a part of a set.
TEST_F(BatchSeries, OneFailedSeriesWritesNothing) {
    DocumentRecord record = threeSeries();
    record.series[2].extractSeed.reset();
    record.series[2].points.clear();
    const ProjectRun run = runRecord(
        {record, {true, true, true}, (dir_ / "legend_three.png").string()}, into(dir_ / "out"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("series \"green/dash\""), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(dir_ / "out"));
    ASSERT_EQ(run.series.size(), 3u);
    EXPECT_EQ(run.series[0].status, 0);
    EXPECT_EQ(run.series[2].status, 1);

    // Stopped before any fit (no picture), the run still names every series.
    const ProjectRun none = runRecord({record, {true, true, true}, (dir_ / "missing.png").string()},
                                      into(dir_ / "out"));
    EXPECT_EQ(none.status, BatchBadInput);
    ASSERT_EQ(none.series.size(), 3u);
    EXPECT_EQ(none.series[2].folder, "green_dash");
    EXPECT_EQ(none.series[2].status, BatchBadInput);
}

// The files a folder's top holds.
std::set<std::string> topFiles(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) names.insert(e.path().filename().string());
    return names;
}

// A run of one series after one of several, and the other way round, leaves
// none of the other run's files at the folder's top to be read as its own.
TEST_F(BatchSeries, ARunRemovesTheFilesOfTheOtherShapeOfSet) {
    const DocumentRecord three = threeSeries();
    DocumentRecord one = three;
    one.series.resize(1);
    one.active = 0;
    const std::string picture = (dir_ / "legend_three.png").string();
    const fs::path out = dir_ / "out";
    const std::set<std::string> single = {"fit.csv", "fit.json", "graph.png", "points.csv",
                                          "working.png"};
    const struct {
        const DocumentRecord* record;
        bool wide;
        std::set<std::string> top;
    } steps[] = {
        {&one, false, single},
        {&three, true, {"fit.json", "series-wide.csv", "series.csv", "working.png"}},
        {&three, false, {"fit.json", "series.csv", "working.png"}},
        {&one, true, single},
    };
    for (const auto& step : steps) {
        const ProjectRun run =
            runRecord({*step.record, {true, true, true}, picture}, into(out, step.wide));
        ASSERT_EQ(run.status, BatchOk) << run.errors;
        EXPECT_EQ(topFiles(out), step.top);
    }
}

// The series' folders belong to the set: killed between its renames, a run
// leaves a set the next writer completes, and killed before its journal,
// hidden files in the series' folders that the next writer removes.
TEST_F(BatchSeries, AKilledRunsSeriesFilesAreCompletedOrRemoved) {
    const DocumentRecord record = threeSeries();
    const std::string picture = (dir_ / "legend_three.png").string();
    ASSERT_EQ(runRecord({record, {true, true, true}, picture}, into(dir_ / "reference")).status,
              BatchOk);
    const auto reference = filesBelow(dir_ / "reference");
    const fs::path out = dir_ / "out";
    const struct {
        int rename;  // killed as it starts the n-th rename into the folder
        bool completed;
    } cases[] = {{1, false}, {2, true}, {7, true}, {13, true}};  // the journal, then 12 files
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rename);
        fs::remove_all(out);
        const test::ChildEnd end = test::killAtCall(
            [&] {
                return runRecord({record, {true, true, true}, picture}, into(out)).status;
            },
            test::renamesInto((out / "").string()), c.rename);
        if (end == test::ChildEnd::Untraceable) GTEST_SKIP() << "no tracing here";
        ASSERT_EQ(end, test::ChildEnd::Killed);
        EXPECT_NE(filesBelow(out), reference);
        const AtomicWriteResult r = recoverResultSet(out.string());
        ASSERT_TRUE(r.ok) << r.error;
        if (c.completed)
            EXPECT_TRUE(filesBelow(out) == reference);
        else
            EXPECT_TRUE(filesBelow(out).empty());
    }
}

// A template's corners, axes, seeds and fits read two other pictures, each
// into a folder of its name beside the template; the template's clicked
// points stay with its own picture, and a series without a seed is left out.
TEST_F(BatchSeries, ATemplateReadsOtherPictures) {
    DocumentRecord record = threeSeries();
    record.series[2].extractSeed.reset();  // clicked only
    const std::string templ = (dir_ / "layout.quillfen.json").string();
    ASSERT_EQ(writeProjectFile(templ, record), "");
    fs::create_directories(dir_ / "pictures");
    fs::copy_file(kCharts / "legend_three.png", dir_ / "pictures" / "first.png");
    fs::copy_file(kCharts / "jpeg_two.jpg", dir_ / "pictures" / "second.jpg");

    std::ostringstream out, err;
    BatchSetOptions o =
        withPictures(templ, {dir_ / "pictures" / "first.png", dir_ / "pictures" / "second.jpg"});
    o.jobs = 2;
    o.json = true;
    const int status = runBatchSet(o, out, err);
    EXPECT_EQ(status, BatchOk) << err.str();
    EXPECT_NE(err.str().find("series \"green/dash\" has no extraction seed"), std::string::npos)
        << err.str();
    std::istringstream lines(out.str());
    std::string line;
    std::vector<std::string> seen;
    while (std::getline(lines, line)) {
        const nlohmann::json j = nlohmann::json::parse(line);
        EXPECT_EQ(j["project"], templ);
        EXPECT_EQ(j["status"], 0) << j["message"];
        ASSERT_EQ(j["series"].size(), 2u);
        EXPECT_EQ(j["series"][1]["name"], "オレンジ");
        EXPECT_EQ(j["coefficients"], j["series"][1]["coefficients"]);
        seen.push_back(j["name"]);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "second"}));
    for (const char* picture : {"first", "second"}) {
        SCOPED_TRACE(picture);
        const std::string orange = readAll(dir_ / picture / "オレンジ" / "points.csv");
        EXPECT_EQ(linesIn(orange), 21u);  // the header and the extracted points only
        EXPECT_EQ(orange.find(",600,60\r\n"), std::string::npos);
        EXPECT_TRUE(fs::exists(dir_ / picture / "blue" / "graph.png"));
        EXPECT_FALSE(fs::exists(dir_ / picture / "green_dash"));
    }
    // The two pictures differ, so do their points.
    EXPECT_NE(readAll(dir_ / "first" / "blue" / "points.csv"),
              readAll(dir_ / "second" / "blue" / "points.csv"));
}

// Two pictures of one name would share a folder, and a template without a
// seed reads nothing: both refused before anything is written.
TEST_F(BatchSeries, TemplatesThatCannotRunAreRefused) {
    DocumentRecord record = threeSeries();
    const std::string templ = (dir_ / "layout.quillfen.json").string();
    ASSERT_EQ(writeProjectFile(templ, record), "");
    fs::create_directories(dir_ / "a");
    fs::create_directories(dir_ / "b");
    fs::copy_file(kCharts / "legend_three.png", dir_ / "a" / "x.png");
    fs::copy_file(kCharts / "jpeg_two.jpg", dir_ / "b" / "x.jpg");
    std::ostringstream out, err;
    EXPECT_EQ(
        runBatchSet(withPictures(templ, {dir_ / "a" / "x.png", dir_ / "b" / "x.jpg"}), out, err),
        BatchUsage);
    EXPECT_NE(err.str().find("would both write into"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(dir_ / "x"));

    for (Series& s : record.series) s.extractSeed.reset();
    ASSERT_EQ(writeProjectFile(templ, record), "");
    err.str("");
    EXPECT_EQ(runBatchSet(withPictures(templ, {dir_ / "a" / "x.png"}), out, err), BatchBadInput);
    EXPECT_NE(err.str().find("no series has an extraction seed"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(dir_ / "x"));
}

}  // namespace
}  // namespace qf
