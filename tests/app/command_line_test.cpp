#include "app/command_line.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

using Action = CommandLine::Action;
using Sources = std::vector<std::pair<int, std::string>>;

TEST(CommandLineCamera, RepeatableMappingsInOrder) {
    const CommandLine c = parseCommandLine({"--camera", "0=/videos/a.avi", "--camera",
                                            "3=rtsp://host/s?x=1", "--camera", "0=", "chart.png"});
    ASSERT_EQ(c.action, Action::Window) << c.error;
    EXPECT_EQ(c.imagePath, "chart.png");
    EXPECT_EQ(c.cameraSources, (Sources{{0, "/videos/a.avi"}, {3, "rtsp://host/s?x=1"}, {0, ""}}));
}

TEST(CommandLineCamera, BadMappingsAreErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--camera"},      {"--camera", "4=a.avi"},  {"--camera", "a.avi"}, {"--camera", "=a.avi"},
        {"--camera", "0"}, {"--camera", "10=a.avi"}, {"--camera", "-1=a"},
    };
    for (const auto& args : cases) {
        const CommandLine c = parseCommandLine(args);
        EXPECT_EQ(c.action, Action::Error) << args.back();
        EXPECT_EQ(c.error, "option '--camera' needs N=SOURCE with N from 0 to 3") << args.back();
    }
    const CommandLine batch = parseCommandLine({"--batch", "p.quillfen.json", "--camera", "0=a"});
    EXPECT_EQ(batch.action, Action::Error);
    EXPECT_EQ(batch.error, "option '--camera' does not go with '--batch'");
}

TEST(CommandLineBatch, SeveralProjectsJobsAndJson) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> projects;
        int jobs;
        bool json;
    } cases[] = {
        {{"--batch", "a.quillfen.json"}, {"a.quillfen.json"}, 0, false},
        {{"--batch", "a.json", "b.json", "c.json", "-j", "2", "--json"},
         {"a.json", "b.json", "c.json"},
         2,
         true},
        {{"--json", "-j8", "--batch", "a.json", "--", "-b.json"}, {"a.json", "-b.json"}, 8, true},
        {{"--batch", "a.json", "--jobs", "1024", "--batch", "b.json"},
         {"a.json", "b.json"},
         1024,
         false},
    };
    for (const Case& c : cases) {
        const CommandLine l = parseCommandLine(c.args);
        ASSERT_EQ(l.action, Action::Batch) << l.error;
        EXPECT_EQ(l.projectPaths, c.projects);
        EXPECT_EQ(l.projectPath, c.projects.front());
        EXPECT_EQ(l.jobs, c.jobs);
        EXPECT_EQ(l.json, c.json);
    }
    const struct {
        std::vector<std::string> args;
        const char* error;
    } errors[] = {
        {{"--batch", "a.json", "-j", "0"}, "option '-j' needs a number of projects from 1 to 1024"},
        {{"--batch", "a.json", "-j1025"}, "option '-j' needs a number of projects from 1 to 1024"},
        {{"--batch", "a.json", "-j", "-2"},
         "option '-j' needs a number of projects from 1 to 1024"},
        {{"--batch", "a.json", "-j"}, "option '-j' needs a number of projects from 1 to 1024"},
        {{"-j", "2", "chart.png"}, "option '-j' belongs to '--batch' and '--auto'"},
        {{"chart.png", "--json"}, "option '--json' belongs to '--batch' and '--auto'"},
    };
    for (const auto& e : errors) {
        const CommandLine l = parseCommandLine(e.args);
        EXPECT_EQ(l.action, Action::Error) << e.args.back();
        EXPECT_EQ(l.error, e.error);
    }
}

// An argument the program refuses is quoted, but only its start.
TEST(CommandLine, RefusedArgumentsAreQuotedShort) {
    const std::string longOption = "--" + std::string(100000, 'x');
    const std::string longName(100000, 'b');
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{longOption}, "unknown option '--" + std::string(42, 'x') + "... (100002 bytes)'"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"a.png", longName},
         "unexpected argument '" + std::string(44, 'b') + "... (100000 bytes)'"},
    };
    for (const auto& c : cases) {
        const CommandLine l = parseCommandLine(c.args);
        EXPECT_EQ(l.action, Action::Error);
        EXPECT_EQ(l.error, c.error);
    }
}

TEST(CommandLineBatch, PictureLimitInWholeMegapixels) {
    const CommandLine c =
        parseCommandLine({"--batch", "p.quillfen.json", "--max-megapixels", "400"});
    ASSERT_EQ(c.action, Action::Batch) << c.error;
    EXPECT_EQ(c.maxPicturePixels, 400'000'000);
    EXPECT_EQ(parseCommandLine({"--batch", "p.quillfen.json"}).maxPicturePixels, 0);

    for (const char* bad : {"0", "-5", "1.5", "10001", "", "12a", "99999999999999999999"}) {
        const CommandLine e =
            parseCommandLine({"--batch", "p.quillfen.json", "--max-megapixels", bad});
        EXPECT_EQ(e.action, Action::Error) << bad;
        EXPECT_EQ(e.error, "option '--max-megapixels' needs a whole number from 1 to 10000") << bad;
    }
    const CommandLine window = parseCommandLine({"--max-megapixels", "400", "chart.png"});
    EXPECT_EQ(window.action, Action::Error);
    EXPECT_EQ(window.error.rfind("option '--max-megapixels' belongs to '--batch'", 0), 0u);
}

TEST(CommandLineBatch, CsvEncoding) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        bool utf8;
        std::string error;
    } cases[] = {
        {{"--batch", "p.quillfen.json"}, Action::Batch, false, ""},
        {{"--batch", "p.quillfen.json", "--csv", "utf8"}, Action::Batch, true, ""},
        {{"--csv", "utf8", "--batch", "p.quillfen.json"}, Action::Batch, true, ""},
        {{"--batch", "p.quillfen.json", "--csv", "cp932"}, Action::Batch, false, ""},
        {{"--batch", "p.quillfen.json", "--csv", "UTF-8"},
         Action::Error,
         false,
         "option '--csv' needs 'utf8' or 'cp932'"},
        {{"--batch", "p.quillfen.json", "--csv"},
         Action::Error,
         false,
         "option '--csv' needs 'utf8' or 'cp932'"},
        {{"--csv", "utf8", "chart.png"},
         Action::Error,
         false,
         "option '--csv' belongs to '--batch' and '--auto'"},
    };
    for (const Case& c : cases) {
        const CommandLine l = parseCommandLine(c.args);
        EXPECT_EQ(l.action, c.action) << c.args.back();
        if (c.action == Action::Batch) {
            EXPECT_EQ(l.utf8Csv, c.utf8) << c.args.back();
        }
        EXPECT_EQ(l.error, c.error);
    }
}

TEST(CommandLineAuto, PicturesAndTheFitAskedFor) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> pictures;
        int model, degree, jobs;
        bool json;
    } cases[] = {
        {{"--auto", "a.png"}, {"a.png"}, 0, 3, 0, false},
        {{"a.png", "b.jpg", "--auto", "--out", "o", "-j2", "--json"},
         {"a.png", "b.jpg"},
         0,
         3,
         2,
         true},
        {{"--auto", "--model", "exponentialProduct", "--degree", "-2", "--", "-a.png"},
         {"-a.png"},
         1,
         -2,
         0,
         false},
        {{"--degree", "20", "--auto", "a.png", "--model", "functionSum"},
         {"a.png"},
         2,
         20,
         0,
         false},
    };
    for (const Case& c : cases) {
        const CommandLine l = parseCommandLine(c.args);
        ASSERT_EQ(l.action, Action::Auto) << l.error;
        EXPECT_EQ(l.picturePaths, c.pictures);
        EXPECT_EQ(l.model, c.model);
        EXPECT_EQ(l.degree, c.degree);
        EXPECT_EQ(l.jobs, c.jobs);
        EXPECT_EQ(l.json, c.json);
    }
    const struct {
        std::vector<std::string> args;
        const char* error;
    } errors[] = {
        {{"--auto"}, "option '--auto' needs a picture"},
        {{"--auto", "a.png", "--batch", "p.json"}, "option '--auto' does not go with '--batch'"},
        {{"--auto", "a.png", "--camera", "0=v.avi"}, "option '--camera' does not go with '--auto'"},
        {{"--batch", "p.json", "--degree", "2"}, "option '--degree' belongs to '--auto'"},
        {{"a.png", "--model", "polynomial"}, "option '--model' belongs to '--auto'"},
        {{"--auto", "a.png", "--model", "cubic"},
         "option '--model' needs 'polynomial', 'exponentialProduct' or 'functionSum'"},
        {{"--auto", "a.png", "--degree", "21"},
         "option '--degree' needs a whole number from -20 to 20"},
        {{"--auto", "a.png", "--degree", "-21"},
         "option '--degree' needs a whole number from -20 to 20"},
        {{"--auto", "a.png", "--degree", "--"},
         "option '--degree' needs a whole number from -20 to 20"},
        {{"--auto", "a.png", "--degree"}, "option '--degree' needs a whole number from -20 to 20"},
    };
    for (const auto& e : errors) {
        const CommandLine l = parseCommandLine(e.args);
        EXPECT_EQ(l.action, Action::Error) << e.args.back();
        EXPECT_EQ(l.error, e.error);
    }
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

// Pictures for a template: every operand after --images, wherever the other
// options stand; a template alone, or pictures without one, are usage errors.
TEST(CommandLineBatch, ImagesForATemplate) {
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> images;
        std::string outDir;
        bool wide;
    } cases[] = {
        {{"--batch", "t.json", "--images", "a.png", "b.jpg"}, {"a.png", "b.jpg"}, "", false},
        {{"--images", "a.png", "--out", "r", "b.png", "--batch", "t.json", "--wide"},
         {"a.png", "b.png"},
         "r",
         true},
        {{"--batch", "t.json", "--images", "--", "-a.png"}, {"-a.png"}, "", false},
    };
    for (const auto& c : cases) {
        const CommandLine l = parseCommandLine(c.args);
        ASSERT_EQ(l.action, Action::Batch) << l.error;
        EXPECT_EQ(l.projectPaths, std::vector<std::string>{"t.json"});
        EXPECT_EQ(l.images, c.images);
        EXPECT_EQ(l.outDir, c.outDir);
        EXPECT_EQ(l.wideCsv, c.wide);
    }
    const struct {
        std::vector<std::string> args;
        const char* error;
    } errors[] = {
        {{"--images", "a.png"},
         "option '--images' needs a template: --batch TEMPLATE.quillfen.json --images PICTURE..."},
        {{"--batch", "t.json", "--images"}, "option '--images' needs at least one picture"},
        {{"--batch", "t.json", "u.json", "--images", "a.png"},
         "option '--images' takes one template; 'u.json' is one more project"},
        {{"--wide", "chart.png"}, "option '--wide' belongs to '--batch' and '--auto'"},
    };
    for (const auto& e : errors) {
        const CommandLine l = parseCommandLine(e.args);
        EXPECT_EQ(l.action, Action::Error) << e.args.back();
        EXPECT_EQ(l.error, e.error);
    }
}

}  // namespace
}  // namespace qf
