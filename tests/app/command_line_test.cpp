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

}  // namespace
}  // namespace qf
