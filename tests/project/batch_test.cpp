#include "project/batch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "../support/child_process.h"
#include "../support/fifo.h"
#include "../support/file_bytes.h"
#include "../support/no_threads.h"
#include "common/cp932.h"
#include "fit/fit_driver.h"
#include "fit/report.h"
#include "imaging/curve_extraction.h"
#include "imaging/image_file.h"
#include "pdf_fixtures.h"
#include "picture_fixtures.h"
#include "points/source_point_file.h"
#include "project/project_file.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

const std::string kSample = std::string(QF_SOURCE_DIR) + "/samples/chart.quillfen.json";
const std::string kSamplePicture = std::string(QF_SOURCE_DIR) + "/samples/chart.jpg";

using test::readAll;

class Batch : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qf_batch_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    int run(const std::string& project, const std::string& outDir = "",
            int64_t maxPicturePixels = 0) {
        out_.str("");
        err_.str("");
        return runBatch({project, outDir, maxPicturePixels}, out_, err_);
    }

    // The sample project with some of its texts replaced (the first occurrence
    // of each), next to the sample picture.
    std::string variant(const std::vector<std::pair<std::string, std::string>>& edits) {
        std::string text = readAll(kSample);
        for (const auto& [from, to] : edits) {
            const auto at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos) text.replace(at, from.size(), to);
        }
        const fs::path path = dir_ / "variant.quillfen.json";
        std::ofstream(path, std::ios::binary) << text;
        fs::copy_file(fs::path(QF_SOURCE_DIR) / "samples/chart.jpg", dir_ / "chart.jpg",
                      fs::copy_options::overwrite_existing);
        return path.string();
    }

    fs::path dir_;
    std::ostringstream out_, err_;
};

TEST_F(Batch, SampleWritesWhatTheCoreWrites) {
    ASSERT_EQ(run(kSample, dir_.string()), BatchOk) << err_.str();
    EXPECT_EQ(err_.str(), "");

    // The same state built directly from the project.
    const DocumentRecord p = readProjectFile(kSample).project;
    FitInput in;
    in.points = p.current().points.data();
    in.pointCount = int32_t(p.current().points.size());
    in.axis = p.axis;
    in.settings = p.current().fit;
    in.imagePresent = true;
    auto work = std::make_unique<SvdFitWork>();
    FitResult result;
    GeneratedGraph graph;
    ASSERT_EQ(runFit(in, *work, result, graph).status, FitOk);

    EXPECT_EQ(readAll(dir_ / "points.csv"),
              toCp932(sourcePointFileText(p.current().points, p.axis)).bytes);
    EXPECT_EQ(readAll(dir_ / "fit.csv"),
              toCp932(generatedGraphFileText(result, graph, p.current().fit.basisExpr)).bytes);
    std::string report = buildFitReport(result, p.current().fit.basisExpr);
    std::erase(report, '\r');
    EXPECT_EQ(out_.str(), report);

    // The fit recovers the curve the sample was drawn from, y = 2 + 8x^2 - 0.6x^3,
    // within what straightening a photographed chart allows (2.5 % of the range).
    for (int l = 0; l < graph.generatedCount; ++l) {
        const double x = graph.generatedX[l];
        EXPECT_NEAR(graph.generatedY[l], 2 + 8 * x * x - 0.6 * x * x * x, 6.25) << x;
    }
    EXPECT_EQ(graph.generatedCount, 50);

    // fit.json: the plain formula gives the generated points, and every
    // point has its residual.
    const nlohmann::json j = nlohmann::json::parse(readAll(dir_ / "fit.json"));
    EXPECT_EQ(j["format"], "quillfen-fit");
    EXPECT_EQ(j["model"], "polynomial");
    EXPECT_EQ(j["degree"], 3);
    EXPECT_EQ(j["normalisation"]["Nx"].get<double>(), result.fitNx);
    EXPECT_EQ(j["normalisation"]["Ny"].get<double>(), result.fitNy);
    ASSERT_EQ(j["coefficients"].size(), 4u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(j["coefficients"][k].get<double>(), result.fitCoefs[k]);
    const auto plain = j["plain"]["coefficients"].get<std::vector<double>>();
    const auto powers = j["plain"]["powers"].get<std::vector<int>>();
    ASSERT_EQ(plain.size(), 4u);
    for (int l = 0; l < graph.generatedCount; ++l) {
        double y = 0;
        for (std::size_t k = 0; k < plain.size(); ++k)
            y += plain[k] * std::pow(graph.generatedX[l], powers[k]);
        EXPECT_NEAR(y, graph.generatedY[l], 1e-9 * std::fabs(graph.generatedY[l]));
    }
    EXPECT_EQ(j["residuals"].size(), p.current().points.size());
    EXPECT_EQ(j["statistics"]["points"], int(p.current().points.size()));
    EXPECT_EQ(j["statistics"]["rank"], 4);
    EXPECT_GT(j["statistics"]["r2"].get<double>(), 0.999);
    EXPECT_EQ(j["plain"]["python"].get<std::string>().rfind("y = ", 0), 0u);

    for (const char* picture : {"graph.png", "working.png"}) {
        ASSERT_TRUE(fs::exists(dir_ / picture)) << picture;
        EXPECT_GT(fs::file_size(dir_ / picture), 1000u) << picture;
    }
}

// With --csv utf8 the CSV files hold the same rows as the default ones, in
// UTF-8 with LF line ends and no NUL, and read back as CSV: the header naming
// the axes, then a point a row.
TEST_F(Batch, Utf8CsvHoldsTheSameRowsWithLfAndNoNul) {
    ASSERT_EQ(run(kSample, (dir_ / "cp932").string()), BatchOk) << err_.str();
    BatchOptions options{kSample, (dir_ / "utf8").string()};
    options.utf8Csv = true;
    std::ostringstream out, err;
    ASSERT_EQ(runBatch(options, out, err), BatchOk) << err.str();
    for (const char* name : {"points.csv", "fit.csv"}) {
        SCOPED_TRACE(name);
        const std::string utf8 = readAll(dir_ / "utf8" / name);
        EXPECT_EQ(utf8.find('\0'), std::string::npos);
        EXPECT_EQ(utf8.find('\r'), std::string::npos);
        // Back to CR LF and code page 932 (fit.csv's head is Japanese): the
        // default file, byte for byte.
        std::string crlf;
        for (const char c : utf8) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        const Cp932Text legacy = toCp932(crlf);
        ASSERT_TRUE(legacy.ok) << legacy.error;
        EXPECT_EQ(legacy.bytes, readAll(dir_ / "cp932" / name));
    }

    const DocumentRecord p = readProjectFile(kSample).project;
    std::istringstream csv(readAll(dir_ / "utf8" / "points.csv"));
    std::string line;
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "No.,X,Y,H,V");
    std::size_t rows = 0;
    while (std::getline(csv, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string f; std::getline(cells, f, ',');) fields.push_back(f);
        ASSERT_EQ(fields.size(), 5u) << line;
        ASSERT_LT(rows, p.current().points.size());
        EXPECT_EQ(fields[0], std::to_string(rows + 1));
        for (int k : {1, 2}) {
            std::size_t used = 0;
            std::stod(fields[k], &used);
            EXPECT_EQ(used, fields[k].size()) << line;
        }
        EXPECT_EQ(fields[3], std::to_string(p.current().points[rows].h));
        EXPECT_EQ(fields[4], std::to_string(p.current().points[rows].v));
        ++rows;
    }
    EXPECT_EQ(rows, p.current().points.size());
}

TEST_F(Batch, WritesBesideTheProjectByDefault) {
    const std::string project = variant({{"\"degree\": 3", "\"degree\": 2"}});
    ASSERT_EQ(run(project), BatchOk) << err_.str();
    for (const char* f : {"points.csv", "fit.csv", "graph.png", "working.png"})
        EXPECT_TRUE(fs::exists(dir_ / f)) << f;
    EXPECT_NE(out_.str().find("次数 n = 2\n"), std::string::npos);
}

TEST_F(Batch, FailedFitsPrintTheWindowsTextsAndExitWithTheStatus) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> edits;
        int exit;
        std::string err;
    } cases[] = {
        {{{"\"graphPointCount\": 50", "\"graphPointCount\": 1"}},
         3,
         "<エラー 1> グラフ作製データ数？ ( >2 )        \n"},
        {{{"\"polynomial\"", "\"functionSum\""}, {"\"x * x\",", "\"x^2\","}},
         3,
         "インタープリタ エラー\n\n[WORD OR CHARACTER INVALID]\n[syntax error]^2;\n"},
        {{{"\"xMin\": 0.0", "\"xMin\": 1e308"}, {"\"xMax\": 10.0", "\"xMax\": -1e308"}},
         2,
         "最小2乗法\u3000実行エラー\n"},
        {{{"\"points\": [", "\"points\": [], \"unused\": ["}}, 1, "quillfen: fit not run"},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir_ / "out");
        const std::string project = variant(c.edits);
        EXPECT_EQ(run(project, (dir_ / "out").string()), c.exit) << c.edits[0].second;
        EXPECT_EQ(err_.str().substr(0, c.err.size()), c.err) << c.edits[0].second;
        EXPECT_EQ(out_.str(), "");
        EXPECT_FALSE(fs::exists(dir_ / "out")) << "nothing is written after a failed fit";
    }
}

// A picture over the limit is refused, naming its size and the limit; the
// option raises the limit for the run.
TEST_F(Batch, PicturesOverTheLimitAreRefused) {
    const std::string project = variant({});
    const cv::Mat chart = cv::imread(kSamplePicture);  // 1280 x 960: 1.2 megapixels
    ASSERT_FALSE(chart.empty());
    EXPECT_EQ(run(project, (dir_ / "out").string(), 1'000'000), BatchBadInput);
    EXPECT_NE(err_.str().find("chart.jpg: Unable to Open File. The picture is 1280 x 960 pixels "
                              "(1.2 megapixels); the limit is 1 megapixels."),
              std::string::npos)
        << err_.str();
    EXPECT_FALSE(fs::exists(dir_ / "out"));
    EXPECT_EQ(run(project, (dir_ / "out").string(), 2'000'000), BatchOk) << err_.str();

    std::ofstream(dir_ / "chart.jpg", std::ios::binary | std::ios::trunc)
        << test::pngDeclaring(30000, 30000);
    EXPECT_EQ(run(project, (dir_ / "bomb").string()), BatchBadInput);
    EXPECT_NE(err_.str().find("30000 x 30000 pixels (900 megapixels); the limit is 100 megapixels"),
              std::string::npos)
        << err_.str();
}

// A picture whose only damage libjpeg finds after its last row was refused
// though OpenCV reads it; it is read now, and the damage is said on
// standard error before the run goes on. The same picture in a format
// OpenCV reads is held to the limit too, whatever OpenCV's own limit is.
TEST_F(Batch, DamageReadPastIsSaidAndTheRunGoesOn) {
    const std::string project = variant({});
    std::string jpg = readAll(dir_ / "chart.jpg");
    jpg = jpg.substr(0, jpg.size() - 2) + "\xFF\x02\xFF\xD9";
    std::ofstream(dir_ / "chart.jpg", std::ios::binary | std::ios::trunc) << jpg;
    EXPECT_EQ(run(project, (dir_ / "out").string()), BatchOk) << err_.str();
    EXPECT_EQ(err_.str(), "quillfen: warning: " + (dir_ / "chart.jpg").string() +
                              ": The picture is damaged (Unsupported marker type 0x02); it is "
                              "shown as it decodes.\n");
    EXPECT_TRUE(fs::exists(dir_ / "out" / "fit.json"));
}

// A project naming a page of a PDF replays that page at its resolution (the
// first at 300 dpi when it names neither); a page the paper lacks is refused
// naming the file.
TEST_F(Batch, AProjectsPdfPageIsTheWorkingPicture) {
    ASSERT_TRUE(test::writeTwoPagePdf((dir_ / "paper.pdf").string()));
    struct Case {
        const char* entries;
        cv::Size size;  // of working.png
        cv::Point drawn, paper;
        const char* error;
    } cases[] = {
        {R"("page": 2, "dpi": 144,)", {144, 288}, {72, 72}, {72, 216}, nullptr},
        {R"("page": 1, "dpi": 72,)", {150, 75}, {37, 37}, {112, 37}, nullptr},
        {"", {625, 313}, {150, 150}, {450, 150}, nullptr},
        {R"("page": 3,)", {}, {}, {}, "paper.pdf: Unable to Open File. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        const fs::path project = dir_ / "paper.quillfen.json";
        std::ofstream(project, std::ios::trunc)
            << R"({"format": "quillfen-project", "version": 3, "image": "paper.pdf", )" << c.entries
            << R"( "axis": {"rect": [10, 10, 140, 70], "xMin": 0, "xMax": 1, "yMin": 0,
                   "yMax": 1}, "points": [[20, 20], [60, 40], [100, 60]]})";
        const fs::path out = dir_ / "out";
        fs::remove_all(out);
        const int status = run(project.string(), out.string());
        if (c.error) {
            EXPECT_EQ(status, BatchBadInput);
            EXPECT_NE(err_.str().find(c.error), std::string::npos) << err_.str();
            EXPECT_NE(err_.str().find(" 3 "), std::string::npos) << err_.str();
            continue;
        }
        ASSERT_EQ(status, BatchOk) << err_.str();
        const cv::Mat working = cv::imread((out / "working.png").string(), cv::IMREAD_GRAYSCALE);
        ASSERT_EQ(working.size(), c.size);
        EXPECT_LT(working.at<uint8_t>(c.drawn), 128);
        EXPECT_EQ(working.at<uint8_t>(c.paper), 255);
    }
}

TEST_F(Batch, BadInputExitsWithFour) {
    struct Case {
        std::string from, to;
        std::string err;
    } cases[] = {
        {"\"degree\": 3", "\"degree\": 33", "\"fit.degree\" must be a whole number from -20 to 20"},
        {"\"image\": \"chart.jpg\"", "\"image\": \"missing.jpg\"",
         "missing.jpg: Unable to Open File. "},
        {"\"image\": \"chart.jpg\"", "\"image\": \"variant.quillfen.json\"",
         "variant.quillfen.json: Unable to Open File. "},
        // A name longer than any path is quoted by its start and length only.
        {"\"image\": \"chart.jpg\"", "\"image\": \"" + std::string(5000, 'a') + "\"",
         "... (" + std::to_string((dir_ / "a").string().size() + 4999) +
             " bytes): Unable to Open File. "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(variant({{c.from, c.to}}), (dir_ / "out").string()), BatchBadInput) << c.to;
        EXPECT_NE(err_.str().find(c.err), std::string::npos) << err_.str();
        EXPECT_LT(err_.str().size(), 300u);
        EXPECT_FALSE(fs::exists(dir_ / "out"));
    }
    EXPECT_EQ(run((dir_ / "none.quillfen.json").string()), BatchBadInput);
    EXPECT_NE(err_.str().find("none.quillfen.json: cannot be opened"), std::string::npos);

    // An output folder that cannot be made: a file stands in its place.
    std::ofstream(dir_ / "taken") << "x";
    EXPECT_EQ(run(kSample, (dir_ / "taken" / "out").string()), BatchBadInput);
    EXPECT_NE(err_.str().find("taken/out"), std::string::npos) << err_.str();
}

// "extract": the curve through the seed is extracted on the working picture
// and its points come before the listed ones; a seed on nothing is refused
// with the reason, and nothing is written.
TEST_F(Batch, ExtractedPointsComeBeforeTheListedOnes) {
    const DocumentRecord sample = readProjectFile(kSample).project;
    const SourcePoint onCurve = sample.current().points.at(9);
    const auto extractAt = [&](IntPoint seed) {
        return variant(
            {{"\"points\": [", "\"extract\": {\"seed\": [" + std::to_string(seed.x) + ", " +
                                   std::to_string(seed.y) + "], \"count\": 30}, \"points\": ["}});
    };
    ASSERT_EQ(run(extractAt({onCurve.h, onCurve.v}), (dir_ / "out").string()), BatchOk)
        << err_.str();
    // The same extraction on the working picture the run wrote.
    const ExtractionResult r =
        extractCurve(readImageFile((dir_ / "out" / "working.png").string()), extractionArea(sample),
                     {onCurve.h, onCurve.v}, {.count = 30});
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.points.size(), 30u);
    std::vector<SourcePoint> expected = r.points;
    expected.insert(expected.end(), sample.current().points.begin(), sample.current().points.end());
    EXPECT_EQ(readAll(dir_ / "out" / "points.csv"),
              toCp932(sourcePointFileText(expected, sample.axis)).bytes);

    // Well off the curve, in an empty grid cell at the top right.
    const IntRect& a = sample.axis.axisRect;
    EXPECT_EQ(run(extractAt({a.right - 45, a.top + 30}), (dir_ / "none").string()), BatchBadInput);
    EXPECT_NE(err_.str().find("quillfen: extract: "), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(dir_ / "none"));
}

// A file of the set that cannot be written (here a folder stands at its
// name) once left the files before it replaced and the rest old: a folder
// holding two runs. Now the old set stays whole and no temporary is left.
TEST_F(Batch, ASetIsReplacedWholeOrNotAtAll) {
    const fs::path out = dir_ / "out";
    const char* names[] = {"points.csv", "fit.csv", "graph.png", "working.png"};
    for (const char* blocked : names) {
        SCOPED_TRACE(blocked);
        fs::remove_all(out);
        fs::create_directories(out / blocked);
        for (const char* n : names)
            if (std::string(n) != blocked) std::ofstream(out / n) << "old " << n;
        EXPECT_EQ(run(kSample, out.string()), BatchBadInput);
        EXPECT_NE(err_.str().find((out / blocked).string()), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "");
        for (const char* n : names) {
            if (std::string(n) != blocked) {
                EXPECT_EQ(readAll(out / n), std::string("old ") + n);
            }
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 4)
            << "a temporary file was left";
    }
}

// A picture that cannot be written said only "Save image failed: 80004005",
// the window's text; the batch mode names the file and the system's reason.
TEST_F(Batch, AFailedPictureNamesTheFileAndTheReason) {
    const fs::path out = dir_ / "out";
    fs::create_directories(out / "graph.png");
    EXPECT_EQ(run(kSample, out.string()), BatchBadInput);
    EXPECT_EQ(err_.str(), "quillfen: " + (out / "graph.png").string() + ": Is a directory\n");
}

// The pictures are encoded straight into their temporary files; a disk that
// fills on the way is a write failure, named as the text files' are, and
// leaves the old set and no temporary file.
TEST_F(Batch, AFullDiskWhileAPictureIsEncodedLeavesTheOldSet) {
    const fs::path out = dir_ / "out";
    fs::create_directories(out);
    const char* names[] = {"points.csv", "fit.csv", "fit.json", "graph.png", "working.png"};
    for (const char* n : names) std::ofstream(out / n) << "old " << n;
    const int status = test::exitStatusInChild([&] {
        // Over this size a write fails as on a full disk: the texts and the
        // graph fit, the photograph's working picture does not.
        test::diskFullPast(200 * 1024);
        const int ran = run(kSample, out.string());
        const std::string expected =
            "quillfen: " + (out / "working.png").string() + ": File too large\n";
        return ran == BatchBadInput && err_.str() == expected ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    for (const char* n : names) EXPECT_EQ(readAll(out / n), std::string("old ") + n);
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 5)
        << "a temporary file was left";
}

// A batch run started a thread it could not have (a limit on processes or
// memory) and the program ended with "terminate called". Without threads it
// now does the same work on its own thread and writes the same set.
TEST_F(Batch, WithoutThreadsTheSameSetIsWritten) {
    ASSERT_EQ(run(kSample, (dir_ / "threads").string()), BatchOk) << err_.str();
    const int status = test::exitStatusInChild([&] {
        test::forbidNewThreads(std::size_t(512) << 20);
        return run(kSample, (dir_ / "alone").string()) == BatchOk ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    for (const char* n : {"points.csv", "fit.csv", "fit.json", "graph.png", "working.png"}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(readAll(dir_ / "alone" / n), readAll(dir_ / "threads" / n));
    }
}

TEST_F(Batch, APictureThatIsNotARegularFileIsRefused) {
    const test::Fifo fifo(dir_ / "pipe.jpg");
    ASSERT_TRUE(fifo.made());
    EXPECT_EQ(run(variant({{"\"image\": \"chart.jpg\"", "\"image\": \"pipe.jpg\""}}),
                  (dir_ / "out").string()),
              BatchBadInput);
    EXPECT_EQ(err_.str(), "quillfen: " + fifo.path() +
                              ": is a FIFO (named pipe), not a regular file; refused\n");
    EXPECT_FALSE(fs::exists(dir_ / "out"));
}

// fit.csv stopped at 524,286 bytes (some 23,000 rows) with exit 0.
TEST_F(Batch, ALongFitFileIsWrittenWhole) {
    const std::string project =
        variant({{"\"graphPointCount\": 50", "\"graphPointCount\": 40000"}});
    ASSERT_EQ(run(project, (dir_ / "out").string()), BatchOk) << err_.str();
    const std::string fit = readAll(dir_ / "out" / "fit.csv");
    EXPECT_GT(fit.size(), 524288u);
    const auto lastRow = fit.rfind("\r\n40000,");
    ASSERT_NE(lastRow, std::string::npos);
    EXPECT_EQ(fit.substr(fit.size() - 3), std::string("\r\n") + '\0');
}

}  // namespace
}  // namespace qf
