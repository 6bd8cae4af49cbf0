// The automatic mode run as a program: pictures in, a project and the batch
// mode's files per picture out, a refusal with its reason and nothing
// written for a picture whose axes cannot be read.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "../support/file_bytes.h"
#include "project/project_file.h"
#include "reading/ocr_engine.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(QF_SOURCE_DIR) / "tests" / "data";

using test::readAll;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

class AutoCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!ocrAvailable(&why)) GTEST_SKIP() << "text recognition is not available: " << why;
        dir_ = fs::temp_directory_path() /
               ("qf_auto_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A picture of the chart sets copied into the test's folder as `name`.
    std::string picture(const std::string& from, const std::string& name) {
        fs::copy_file(kData / from, dir_ / name);
        return (dir_ / name).string();
    }

    int run(const std::vector<std::string>& args) {
        std::string command = "env -u LANG -u LANGUAGE -u LC_ALL -u LC_MESSAGES XDG_CONFIG_HOME='" +
                              (dir_ / "config").string() + "' LC_ALL=C.UTF-8 '" QF_PROGRAM "'";
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

TEST_F(AutoCli, EachPictureReadsIntoItsProjectOrIsRefusedWithNothingWritten) {
    const std::vector<std::string> pictures = {
        picture("extraction/legend_two.png", "two.png"),
        picture("reading/mpl_months.png", "months.png"),  // no numbers along X
        picture("reading/photo_mpl_grid.jpg", "photo.jpg"),
        picture("reading/charts.json", "text.png"),  // no picture at all
    };
    const fs::path out = dir_ / "out";
    std::vector<std::string> args = {"--auto"};
    args.insert(args.end(), pictures.begin(), pictures.end());
    args.insert(args.end(), {"--out", out.string(), "-j", "2", "--json"});
    EXPECT_EQ(run(args), 4);

    const std::vector<std::string> lines = linesOf(out_);
    ASSERT_EQ(lines.size(), 4u) << out_ << err_;
    struct Expected {
        const char* name;
        int status;
        std::size_t series;
        bool photographed;
    } expected[] = {{"two", 0, 2, false},
                    {"months", 4, 0, false},
                    {"photo", 0, 1, true},
                    {"text", 4, 0, false}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(lines[i]);
        const nlohmann::json j = nlohmann::json::parse(lines[i]);
        const Expected& e = expected[i];
        EXPECT_EQ(j["name"], e.name);
        EXPECT_EQ(j["status"], e.status);
        EXPECT_EQ(j["auto"], true);
        EXPECT_EQ(j["picture"], pictures[i]);
        EXPECT_EQ(j["photographed"], e.photographed);
        // Several series: each one's fit, as the batch mode lists them.
        EXPECT_EQ(j.contains("series") ? j["series"].size() : e.status == 0 ? 1u : 0u, e.series);
        const fs::path folder = out / e.name;
        if (e.status == 0) {
            const fs::path project = folder / (std::string(e.name) + ".quillfen.json");
            EXPECT_EQ(j["project"], project.string());
            EXPECT_EQ(j["coefficients"].size(), 4u) << "a cubic by default";
            for (const char* f : {"fit.json", "working.png"})
                EXPECT_TRUE(fs::exists(folder / f)) << f;
            std::vector<fs::path> curves{folder};
            if (e.series > 1) {
                curves.clear();
                for (const nlohmann::json& one : j["series"])
                    curves.push_back(folder / one["folder"].get<std::string>());
            }
            for (const fs::path& c : curves)
                for (const char* f : {"points.csv", "fit.csv", "graph.png"})
                    EXPECT_TRUE(fs::exists(c / f)) << c << " " << f;
            // The project opens on the picture, calibrated, with every series.
            const ProjectReadResult p = readProjectFile(project.string());
            ASSERT_TRUE(p.ok) << p.error;
            EXPECT_EQ(projectImagePath(p.project, project.string()), pictures[i]);
            EXPECT_EQ(p.project.series.size(), e.series);
            EXPECT_EQ(p.project.applied.has_value(), e.photographed);
            EXPECT_NE(p.project.axis.xMax, 1.0);
        } else {
            EXPECT_FALSE(fs::exists(folder)) << "nothing half-calibrated is written";
            EXPECT_EQ(j["project"], "");
            EXPECT_TRUE(j["coefficients"].empty());
        }
    }
    // The reasons name the picture and, where the axes are the trouble, the axis.
    EXPECT_NE(err_.find("quillfen: " + pictures[1] + ": the X axis: "), std::string::npos) << err_;
    EXPECT_NE(err_.find("quillfen: " + pictures[3] + ": "), std::string::npos) << err_;
    const nlohmann::json months = nlohmann::json::parse(lines[1]);
    EXPECT_EQ(months["message"].get<std::string>().rfind(pictures[1] + ": the X axis: ", 0), 0u);
}

// The project replays to the very files the automatic run wrote: it holds
// the points found, not a search that could find others.
TEST_F(AutoCli, TheProjectReplaysToTheSameFiles) {
    const std::string chart = picture("reading/photo_gp_linear.jpg", "chart.jpg");
    ASSERT_EQ(run({"--auto", chart, "--degree", "2", "--csv", "utf8"}), 0) << err_;
    const fs::path first = dir_ / "chart";
    EXPECT_NE(out_.find("read straightened by the frame's corners"), std::string::npos) << out_;
    ASSERT_EQ(run({"--batch", (first / "chart.quillfen.json").string(), "--out",
                   (dir_ / "again").string(), "--csv", "utf8"}),
              0)
        << err_;
    for (const char* f : {"points.csv", "fit.csv", "fit.json", "working.png"})
        EXPECT_EQ(readAll(first / f), readAll(dir_ / "again" / f)) << f;
    EXPECT_NE(readAll(first / "fit.json").find("\"degree\": 2"), std::string::npos);
}

TEST_F(AutoCli, PicturesOfOneNameWouldShareAFolderAndAreRefused) {
    fs::create_directories(dir_ / "a");
    fs::create_directories(dir_ / "b");
    const std::string a = picture("reading/mpl_linear.png", "a/chart.png");
    const std::string b = picture("reading/gp_linear.png", "b/chart.png");
    EXPECT_EQ(run({"--auto", a, b, "--out", (dir_ / "out").string()}), 64);
    EXPECT_NE(err_.find("would both write into"), std::string::npos) << err_;
    EXPECT_FALSE(fs::exists(dir_ / "out"));
}

}  // namespace
}  // namespace qf
