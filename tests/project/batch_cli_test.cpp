// The batch mode run as a program: several projects, -j, --json, exit
// statuses and what reaches standard error.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/fifo.h"
#include "../support/file_bytes.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(QF_SOURCE_DIR) / "samples";

using test::readAll;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

class BatchCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qf_cli_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy_file(kSamples / "chart.jpg", dir_ / "chart.jpg");
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The sample project under another name, with one text replaced.
    std::string project(const std::string& name, const std::string& from = "",
                        const std::string& to = "") {
        std::string text = readAll(kSamples / "chart.quillfen.json");
        if (!from.empty()) {
            const auto at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            text.replace(at, from.size(), to);
        }
        const fs::path path = dir_ / (name + ".quillfen.json");
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // Runs quillfen with the arguments (no shell quoting needed: the test's
    // paths hold no blanks or quotes). Returns the exit status. The language
    // is the environment's `locale` (the sources' Japanese by default), with
    // no language chosen in a settings store.
    int run(const std::vector<std::string>& args, const std::string& locale = "LC_ALL=C.UTF-8") {
        std::string command = "env -u LANG -u LANGUAGE -u LC_ALL -u LC_MESSAGES XDG_CONFIG_HOME='" +
                              (dir_ / "config").string() + "' " + locale + " '" QF_PROGRAM "'";
        for (const std::string& a : args) command += " '" + a + "'";
        command += " >'" + (dir_ / "stdout").string() + "' 2>'" + (dir_ / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        out_ = readAll(dir_ / "stdout");
        err_ = readAll(dir_ / "stderr");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
    std::string out_, err_;
};

TEST_F(BatchCli, SeveralProjectsRunTogetherEachIntoItsFolder) {
    const std::vector<std::string> projects = {
        project("first"),
        project("rejected", "\"graphPointCount\": 50", "\"graphPointCount\": 1"),
        project("second", "\"degree\": 3", "\"degree\": 2"),
        project("broken", "\"degree\": 3", "\"degree\": 99"),
        project("third"),
    };
    const fs::path out = dir_ / "results";
    std::vector<std::string> args = {"--batch"};
    args.insert(args.end(), projects.begin(), projects.end());
    args.insert(args.end(), {"--out", out.string(), "-j", "2", "--json"});
    EXPECT_EQ(run(args), 4) << "the highest status of any project";

    const std::vector<std::string> lines = linesOf(out_);
    ASSERT_EQ(lines.size(), 5u) << out_;
    struct Expected {
        const char* name;
        int status;
    } expected[] = {{"first", 0}, {"rejected", 3}, {"second", 0}, {"broken", 4}, {"third", 0}};
    for (std::size_t i = 0; i < 5; ++i) {
        const std::string& line = lines[i];
        SCOPED_TRACE(line);
        EXPECT_NE(line.find("\"name\":\"" + std::string(expected[i].name) + "\""),
                  std::string::npos);
        EXPECT_NE(line.find("\"status\":" + std::to_string(expected[i].status) + ","),
                  std::string::npos);
        const bool fitted = expected[i].status == 0;
        EXPECT_EQ(fs::exists(out / expected[i].name / "fit.csv"), fitted);
        EXPECT_EQ(line.find("\"coefficients\":[]") == std::string::npos, fitted);
    }
    EXPECT_NE(lines[1].find("\"message\":\"<エラー 1> グラフ作製データ数？ ( >2 )"),
              std::string::npos);
    EXPECT_NE(lines[3].find("\"message\":\"" + projects[3] +
                            ": \\\"fit.degree\\\" must be a whole number from -20 to 20\""),
              std::string::npos);
    // The same project fitted on another thread gives the same files.
    for (const char* f : {"fit.csv", "points.csv", "graph.png"})
        EXPECT_EQ(readAll(out / "first" / f), readAll(out / "third" / f)) << f;
    // A degree-2 fit has three coefficients, the sample's degree 3 four.
    EXPECT_EQ(std::count(lines[2].begin(), lines[2].end(), ','),
              std::count(lines[0].begin(), lines[0].end(), ',') - 1);
}

// The report and the messages are in the language the window would show;
// the files written are the same bytes in every language.
TEST_F(BatchCli, TheReportFollowsTheUsersLanguageAndTheFilesDoNot) {
    const std::string good = project("good");
    const std::string bad = project("bad", "\"xLog\": false", "\"xLog\": true");  // xMin is 0
    struct Case {
        const char* locale;
        bool english;
    } const cases[] = {
        {"LANG=C.UTF-8", false},
        {"LANG=ja_JP.UTF-8", false},
        {"LANG=en_US.UTF-8", true},
        {"LANG=ja_JP.UTF-8 LC_MESSAGES=en_GB.UTF-8", true},
        {"LANG=ja_JP.UTF-8 LC_ALL=en_AU.UTF-8", true},
    };
    const char* const files[] = {"points.csv", "fit.csv", "fit.json", "graph.png", "working.png"};
    std::vector<std::string> firstFiles;
    int k = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        const fs::path out = dir_ / ("out" + std::to_string(k++));
        EXPECT_EQ(run({"--batch", good, bad, "--out", out.string()}, c.locale), 3);
        const bool japanese = out_.find("X 正規化係数 Nx") != std::string::npos;
        EXPECT_EQ(out_.find("X normalisation factor Nx") != std::string::npos, c.english) << out_;
        EXPECT_EQ(japanese, !c.english) << out_;
        EXPECT_EQ(err_.find("Log X axis: Xmin or Xmax is 0 or less") != std::string::npos,
                  c.english)
            << err_;
        EXPECT_EQ(err_.find("LogX軸: Xmin, Xmax が0以下です") != std::string::npos, !c.english)
            << err_;
        for (std::size_t f = 0; f < std::size(files); ++f) {
            const std::string bytes = readAll(out / "good" / files[f]);
            EXPECT_FALSE(bytes.empty()) << files[f];
            if (firstFiles.size() <= f)
                firstFiles.push_back(bytes);
            else
                EXPECT_EQ(bytes, firstFiles[f]) << files[f];
        }
    }
}

// With no thread to be had (each new thread's stack, as large as the stack
// limit, does not fit in the memory limit) the program ended with
// "terminate called"; the projects now run on the main thread.
TEST_F(BatchCli, WithoutThreadsSeveralProjectsStillRun) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers' own memory does not fit in the limit";
#endif
    if (std::system("sh -c 'ulimit -s 1048576' 2>/dev/null") != 0)
        GTEST_SKIP() << "the stack limit cannot be raised here";
    const std::vector<std::string> projects = {project("first"), project("second")};
    const fs::path out = dir_ / "results";
    std::string command = "ulimit -s 1048576 && ulimit -v 900000 && '" QF_PROGRAM "' --batch";
    for (const std::string& p : projects) command += " '" + p + "'";
    command +=
        " -j 2 --out '" + out.string() + "' >/dev/null 2>'" + (dir_ / "stderr").string() + "'";
    const int status = std::system(("sh -c \"" + command + "\"").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << readAll(dir_ / "stderr");
    for (const char* f : {"fit.csv", "points.csv", "fit.json", "graph.png", "working.png"})
        EXPECT_EQ(readAll(out / "first" / f), readAll(out / "second" / f)) << f;
    EXPECT_FALSE(readAll(out / "first" / "graph.png").empty());
}

// Runs into one folder at once mixed their files (in 2 of 6 rounds of 50
// runs). They now take turns: every run ends well, and the folder holds the
// whole set of one of them and nothing else.
TEST_F(BatchCli, RunsIntoOneFolderAtOnceLeaveOneRunsSet) {
    const std::vector<std::string> projects = {
        project("one", "\"degree\": 3", "\"degree\": 1"),
        project("two", "\"degree\": 3", "\"degree\": 2"),
        project("three"),
    };
    const fs::path alone = dir_ / "alone";
    ASSERT_EQ(run({"--batch", projects[0], projects[1], projects[2], "--out", alone.string()}), 0)
        << err_;

    const fs::path shared = dir_ / "shared";
    constexpr int kRuns = 8;
    std::string command;
    for (int i = 0; i < kRuns; ++i) {
        const std::string tag = (dir_ / ("run" + std::to_string(i))).string();
        command += "('" QF_PROGRAM "' --batch '" + projects[i % 3] + "' --out '" + shared.string() +
                   "' >/dev/null 2>'" + tag + ".err'; echo $? >'" + tag + ".status') & ";
    }
    ASSERT_EQ(std::system((command + "wait").c_str()), 0);
    for (int i = 0; i < kRuns; ++i) {
        const std::string tag = (dir_ / ("run" + std::to_string(i))).string();
        EXPECT_EQ(readAll(tag + ".status"), "0\n") << i;
        EXPECT_EQ(readAll(tag + ".err"), "") << i;
    }
    const char* names[] = {"points.csv", "fit.csv", "fit.json", "graph.png", "working.png"};
    EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()), 5);
    int whole = 0;
    for (const char* name : {"one", "two", "three"})
        whole += std::all_of(std::begin(names), std::end(names), [&](const char* n) {
            return readAll(shared / n) == readAll(alone / name / n);
        });
    EXPECT_EQ(whole, 1) << "the folder holds one run's set";
}

TEST_F(BatchCli, ProjectsOfOneNameWouldShareAFolderAndAreRefused) {
    fs::create_directories(dir_ / "other");
    const std::string a = project("same");
    const std::string b = (dir_ / "other" / "same.quillfen.json").string();
    fs::copy_file(a, b);
    EXPECT_EQ(run({"--batch", a, b, "--out", (dir_ / "results").string()}), 64);
    EXPECT_NE(err_.find("would both write into"), std::string::npos) << err_;
    EXPECT_FALSE(fs::exists(dir_ / "results"));
}

// Usage errors exited with 2, the status of a failed solver.
TEST_F(BatchCli, UsageErrorsHaveTheirOwnStatus) {
    const std::string p = project("p");
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"--batch"},
        {"--batch", p, "-j", "0"},
        {"--batch", p, "-j", "many"},
        {"--json", "chart.jpg"},
        {"--out", "somewhere"},
        {"--images", "chart.jpg"},
        {"--batch", p, "--images"},
        {"--batch", p, p, "--images", "chart.jpg"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(run(args), 64) << args.front() << " " << args.back();
        EXPECT_NE(err_.find("Try 'quillfen --help'"), std::string::npos) << err_;
        EXPECT_EQ(out_, "");
    }
}

// OpenCV's log and libpng's notes reached standard error unformatted; only
// our messages do now. The picture: a PNG whose text chunk has a bad checksum,
// which libpng reads with a warning.
TEST_F(BatchCli, StandardErrorCarriesOnlyOurMessages) {
    // A 1 x 1 white picture: IHDR, a tEXt chunk with CRC 0, IDAT, IEND.
    const unsigned char bytes[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
        0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00,
        0x00, 0x90, 0x77, 0x53, 0xDE, 0x00, 0x00, 0x00, 0x03, 0x74, 0x45, 0x58, 0x74, 0x61,
        0x00, 0x62, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x49, 0x44, 0x41, 0x54,
        0x78, 0x9C, 0x63, 0xF8, 0xFF, 0xFF, 0x3F, 0x00, 0x05, 0xFE, 0x02, 0xFE, 0x0D, 0xEF,
        0x46, 0xB8, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    const std::string png(reinterpret_cast<const char*>(bytes), sizeof bytes);
    std::ofstream(dir_ / "warns.png", std::ios::binary) << png;
    const std::string warns =
        project("warns", "\"image\": \"chart.jpg\"", "\"image\": \"warns.png\"");
    const std::string missing =
        project("missing", "\"image\": \"chart.jpg\"", "\"image\": \"missing.png\"");
    const int status = run({"--batch", warns, missing, "--out", (dir_ / "results").string()});
    EXPECT_EQ(status, 4);
#if !defined(__SANITIZE_ADDRESS__)  // sanitizer builds keep standard error open for their reports
    for (const std::string& line : linesOf(err_)) {
        EXPECT_EQ(line.rfind("quillfen: ", 0), 0u) << err_;
    }
    EXPECT_EQ(err_.find("libpng"), std::string::npos) << err_;
#endif
    EXPECT_EQ(err_.find("[ WARN"), std::string::npos) << err_;  // OpenCV's log
    EXPECT_NE(err_.find("missing.png: Unable to Open File."), std::string::npos) << err_;
}

// A PPM was read whatever its size, and OpenCV's limit in the environment
// lifted the program's: the limit holds for it as for a PNG. Run as most
// users run it, one project without --out (which aborted).
TEST_F(BatchCli, TheLimitHoldsForEveryFormatWhateverTheEnvironmentSays) {
    std::ofstream(dir_ / "chart.ppm", std::ios::binary) << "P6\n1100 1000\n255\n"
                                                        << std::string(1100 * 1000 * 3, '\x80');
    const std::string ppm = project("ppm", "\"image\": \"chart.jpg\"", "\"image\": \"chart.ppm\"");
    ::setenv("OPENCV_IO_MAX_IMAGE_PIXELS", "1000000000", 1);
    const int refused = run({"--batch", ppm, "--max-megapixels", "1"});
    const std::string refusal = err_;
    const int read = run({"--batch", ppm, "--max-megapixels", "2"});
    ::unsetenv("OPENCV_IO_MAX_IMAGE_PIXELS");
    EXPECT_EQ(refused, 4);
    EXPECT_NE(refusal.find("chart.ppm: Unable to Open File. The picture is 1100 x 1000 pixels "
                           "(1.1 megapixels); the limit is 1 megapixels."),
              std::string::npos)
        << refusal;
    EXPECT_EQ(read, 0) << err_;
}

TEST_F(BatchCli, AFifoAsProjectIsRefused) {
    const test::Fifo fifo(dir_ / "pipe.quillfen.json");
    ASSERT_TRUE(fifo.made());
    EXPECT_EQ(run({"--batch", fifo.path(), "--out", (dir_ / "results").string()}), 4);
    EXPECT_EQ(err_, "quillfen: " + fifo.path() +
                        ": is a FIFO (named pipe), not a regular file; refused\n");
}

}  // namespace
}  // namespace qf
