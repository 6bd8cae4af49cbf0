#include "imaging/camera_source.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <opencv2/core.hpp>

#include "temp_dir.h"
#include "video_fixture.h"

namespace qf {
namespace {

using test::hasColour;
using test::kFrameColours;

bool hasCameraDevice(int index) {
    return std::filesystem::exists("/dev/video" + std::to_string(index));
}

TEST(CameraTexts, AreTheLogPageLines) {
    EXPECT_EQ(captureReportText({1280, 720, 15}),
              "cv::VideoCapture::get\r\n"
              "CV_CAP_PROP_FRAME_WIDTH : 1280\r\n"
              "CV_CAP_PROP_FRAME_HEIGHT : 720\r\n"
              "CV_CAP_PROP_FPS : 15\r\n");
    EXPECT_EQ(captureReportText({0, -1, 0}),
              "cv::VideoCapture::get\r\n"
              "CV_CAP_PROP_FRAME_WIDTH : 0\r\n"
              "CV_CAP_PROP_FRAME_HEIGHT : -1\r\n"
              "CV_CAP_PROP_FPS : 0\r\n");
    EXPECT_EQ(openFailureText(2), "cv::VideoCapture(2)\r\nデバイス 2 オープンできません\r\n");
    EXPECT_EQ(captureSuspendedText(),
              "カメラ入力を中断しました。\r\nカメラ入力を再開して下さい。\r\n");
}

class CameraSourcesEnv : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear() {
        for (int d = 0; d < kCameraCount; ++d)
            unsetenv(("QUILLFEN_CAMERA" + std::to_string(d)).c_str());
    }
};

TEST_F(CameraSourcesEnv, CommandLineOverridesEnvironment) {
    setenv("QUILLFEN_CAMERA0", "/env/zero.avi", 1);
    setenv("QUILLFEN_CAMERA2", "rtsp://host/cam", 1);
    setenv("QUILLFEN_CAMERA3", "/env/three.avi", 1);
    const CameraSourceMap map = resolveCameraSources(
        {{0, "/cli/first.avi"}, {1, "/cli/one.avi"}, {0, "/cli/zero.avi"}, {3, ""}, {4, "/x"}});
    EXPECT_EQ(map[0], "/cli/zero.avi");    // the later of two options wins
    EXPECT_EQ(map[1], "/cli/one.avi");     // option only
    EXPECT_EQ(map[2], "rtsp://host/cam");  // environment only
    EXPECT_EQ(map[3], "");                 // empty option: the real device again
}

TEST_F(CameraSourcesEnv, NothingMappedGivesTheRealDevices) {
    EXPECT_EQ(resolveCameraSources({}), CameraSourceMap{});
}

class CameraSourceTest : public test::TempDirTest {};

TEST_F(CameraSourceTest, MappedVideoReportsItsSizeAndLoops) {
    const std::string video = path("cam.avi");
    ASSERT_TRUE(test::writeVideo(video, 64, 48));
    CameraSource camera;
    ASSERT_TRUE(camera.open(0, video));
    camera.request({800, 600, 30});  // a file cannot honour it
    const CaptureReport r = camera.reported();
    EXPECT_EQ(r.width, 64);
    EXPECT_EQ(r.height, 48);
    EXPECT_EQ(r.fps, 15);

    const cv::Mat first = camera.read();
    ASSERT_EQ(first.size(), cv::Size(64, 48));
    EXPECT_TRUE(hasColour(first, kFrameColours[0]));
    // Past the last frame it starts over, and no frame reuses an earlier one's pixels.
    std::vector<cv::Mat> frames{first};
    for (std::size_t i = 1; i < 2 * kFrameColours.size(); ++i) {
        frames.push_back(camera.read());
        EXPECT_TRUE(hasColour(frames.back(), kFrameColours[i % kFrameColours.size()])) << i;
    }
    EXPECT_TRUE(hasColour(first, kFrameColours[0])) << "overwritten by a later read";

    camera.close();
    EXPECT_FALSE(camera.isOpened());
    EXPECT_TRUE(camera.read().empty());
}

TEST_F(CameraSourceTest, OpenFailures) {
    CameraSource camera;
    EXPECT_FALSE(camera.open(1, path("missing.avi")));
    EXPECT_FALSE(camera.isOpened());
    EXPECT_TRUE(camera.read().empty());

    const std::string notVideo = path("notes.avi");
    writeBytes(notVideo, "not a video at all");
    EXPECT_FALSE(camera.open(1, notVideo));

    if (hasCameraDevice(3)) GTEST_SKIP() << "this machine has a camera at index 3";
    EXPECT_FALSE(camera.open(3, ""));
}

// Without the camera module (a package that left it out, a damaged install)
// every open fails with a reason naming the module, and nothing crashes. In a
// process of its own, which has not loaded the module yet.
TEST_F(CameraSourceTest, MissingModuleIsReportedNotACrash) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string video = path("cam.avi");
    ASSERT_TRUE(test::writeVideo(video, 32, 24, {{10, 200, 10}}));
    const std::string empty = path("no-modules");
    std::filesystem::create_directory(empty);
    EXPECT_EXIT(
        {
            ::setenv("QUILLFEN_MODULE_DIR", empty.c_str(), 1);
            CameraSource camera;
            const bool opened = camera.open(0, video) || camera.open(1, "");
            const bool named = camera.moduleError().find("quillfen-camera.so") != std::string::npos;
            const bool nothing = camera.read().empty() && camera.reported().width == 0;
            std::fprintf(stderr, "%s", moduleFailureText(camera.moduleError()).c_str());
            std::exit(!opened && named && nothing ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "カメラ モジュールを読み込めません: quillfen-camera.so");
}

// A source that opens but has no frame: reading gives an empty image, and
// the rewind at the end does not loop forever.
TEST_F(CameraSourceTest, SourceWithoutFramesReadsEmpty) {
    const std::string video = path("empty.avi");
    ASSERT_TRUE(test::writeVideo(video, 64, 48, {}));
    CameraSource camera;
    if (!camera.open(0, video)) GTEST_SKIP() << "this OpenCV refuses a video without frames";
    EXPECT_TRUE(camera.read().empty());
    EXPECT_TRUE(camera.read().empty());
}

}  // namespace
}  // namespace qf
