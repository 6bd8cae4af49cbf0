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

}  // namespace
}  // namespace qf
