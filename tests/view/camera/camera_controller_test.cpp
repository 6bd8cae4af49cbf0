#include "view/camera_controller.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <filesystem>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "imaging/mapping.h"
#include "imaging/processing.h"
#include "temp_dir.h"
#include "video_fixture.h"

namespace qf {
namespace {

using test::hasColour;
using test::kFrameColours;

constexpr int kW = 64;
constexpr int kH = 48;

// Uniform colours with a black square that moves from frame to frame, so the
// black-and-white output tells which frame it was made from.
std::vector<cv::Mat> movingSquareFrames() {
    std::vector<cv::Mat> frames;
    for (std::size_t i = 0; i < kFrameColours.size(); ++i) {
        cv::Mat f(kH, kW, CV_8UC3, cv::Scalar(kFrameColours[i]));
        cv::rectangle(f, cv::Rect(8 + 12 * static_cast<int>(i), 16, 10, 10), cv::Scalar::all(0),
                      cv::FILLED);
        frames.push_back(f);
    }
    return frames;
}

// A corner of the frame the square never reaches.
cv::Mat corner(const cv::Mat& frame) {
    return frame(cv::Rect(0, 0, 4, 4));
}

cv::Mat processed(const cv::Mat& input) {
    ImagePair pair{input.clone(), {}};
    runProcessing(pair, CurrentImage::Input);
    return pair.outputImage;
}

bool sameImage(const cv::Mat& a, const cv::Mat& b) {
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

std::vector<std::string> logOf(const std::string& text) {
    return {std::string(), text};  // the page is emptied first
}

class CameraControllerTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ASSERT_TRUE(test::writeFrames(path("cam0.avi"), kW, kH, movingSquareFrames()));
        ASSERT_TRUE(test::writeVideo(path("cam1.avi"), 32, 24, {{10, 200, 10}, {200, 10, 10}}));
        // A picture as if loaded from a file, with its own geometry.
        state.images.inputImage = cv::Mat(300, 200, CV_8UC3, cv::Scalar(9, 9, 9));
        state.images.outputImage = cv::Mat(300, 200, CV_8UC3, cv::Scalar(7, 7, 7));
        state.display.currentImage = CurrentImage::Input;
        resetMappingForImage(200, 300, state.doc.mapping, state.doc.axis.axisRect);
        controller.setSourceMap({path("cam0.avi"), path("cam1.avi"), path("missing.avi"), ""});
    }

    ViewState state;
    int repaints = 0;
    std::vector<std::string> log;
    CameraController controller{state, [this] { ++repaints; },
                                [this](const std::string& t) { log.push_back(t); }};
};

TEST_F(CameraControllerTest, StartShowsTheFirstFrameAndEachTickTheNextProcessed) {
    state.transform.zoomShift = 1;
    const cv::Mat pictureOutput = state.images.outputImage;

    controller.toggleDevice(0);

    EXPECT_EQ(log, logOf("cv::VideoCapture::get\r\nCV_CAP_PROP_FRAME_WIDTH : 64\r\n"
                         "CV_CAP_PROP_FRAME_HEIGHT : 48\r\nCV_CAP_PROP_FPS : 15\r\n"));
    EXPECT_EQ(controller.runningDevices(), (std::array<bool, 4>{true, false, false, false}));
    EXPECT_GE(repaints, 1);
    const cv::Mat& input = state.images.inputImage;
    ASSERT_EQ(input.size(), cv::Size(kW, kH));
    EXPECT_TRUE(hasColour(corner(input), kFrameColours[0]));
    // The output waits for the first tick.
    EXPECT_EQ(state.images.outputImage.data, pictureOutput.data);
    // Zoom and display source stay; the scroll sizes and the geometry follow the frame.
    EXPECT_EQ(state.transform.zoomShift, 1);
    EXPECT_EQ(state.display.displaySource, 1);
    EXPECT_EQ(state.display.currentImage, CurrentImage::Input);
    EXPECT_EQ(state.transform.displaySize, (IntSize{2 * kW, 2 * kH}));
    MappingGeometry expected;
    IntRect expectedAxis;
    resetMappingForImage(kW, kH, expected, expectedAxis);
    EXPECT_EQ(state.doc.mapping.corners, expected.corners);
    EXPECT_EQ(state.doc.mapping.graphRect, expected.graphRect);
    EXPECT_EQ(state.doc.axis.axisRect, expectedAxis);

    // Ticks go on past the end of the file and leave the log alone.
    for (std::size_t i = 1; i <= kFrameColours.size() + 1; ++i) {
        const int before = repaints;
        controller.grabFrame(0);
        EXPECT_EQ(repaints, before + 1);
        EXPECT_TRUE(hasColour(corner(input), kFrameColours[i % kFrameColours.size()])) << i;
        EXPECT_TRUE(sameImage(state.images.outputImage, processed(input))) << i;
    }
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(state.transform.zoomShift, 1);
    EXPECT_EQ(state.display.displaySource, 1);
}

// A picture whose grey rendering was still to be built keeps it as the
// output until the first tick: the camera replaces only the input.
TEST_F(CameraControllerTest, PendingGreyOutputIsTheLoadedPicturesUntilTheFirstTick) {
    cv::Mat picture(300, 200, CV_8UC3, cv::Scalar(10, 100, 200));
    state.images.inputImage = picture;
    convertGrey(state.images, CurrentImage::Input, 1);
    controller.toggleDevice(0);
    EXPECT_EQ(cv::norm(state.images.outputImage, greyRendering(picture), cv::NORM_INF), 0.0);
    controller.toggleDevice(0);
}

TEST_F(CameraControllerTest, TimerDeliversFramesEvery66Ms) {
    for (const QTimer* t : controller.findChildren<QTimer*>()) EXPECT_EQ(t->interval(), 66);
    controller.toggleDevice(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return repaints >= 3; }, 5000));
    EXPECT_FALSE(state.images.outputImage.empty());
    EXPECT_TRUE(sameImage(state.images.outputImage, processed(state.images.inputImage)));
}

TEST_F(CameraControllerTest, StartingAnotherDeviceStopsTheFirstAndTogglingStops) {
    controller.toggleDevice(0);
    controller.grabFrame(0);
    controller.toggleDevice(1);
    EXPECT_EQ(controller.runningDevices(), (std::array<bool, 4>{false, true, false, false}));
    EXPECT_TRUE(controller.isOpen(0));  // stopped, not closed
    EXPECT_EQ(state.images.inputImage.size(), cv::Size(32, 24));

    controller.grabFrame(1);
    const cv::Mat last = state.images.inputImage;
    controller.toggleDevice(1);
    EXPECT_EQ(controller.runningDevices(), (std::array<bool, 4>{}));
    EXPECT_TRUE(controller.isOpen(1));
    EXPECT_EQ(state.images.inputImage.data, last.data);  // the last frame stays

    // Starting again reuses the open device: the report again, the next frame.
    log.clear();
    controller.toggleDevice(0);
    EXPECT_EQ(log.size(), 2u);
    EXPECT_TRUE(controller.running(0));
    EXPECT_TRUE(hasColour(corner(state.images.inputImage), kFrameColours[2]));
}

TEST_F(CameraControllerTest, DeviceThatCannotOpenLogsAndLeavesEveryCameraStopped) {
    struct Case {
        int device;
        const char* what;
    };
    for (const Case c : {Case{2, "mapped to a missing file"}, Case{3, "no camera, not mapped"}}) {
        SCOPED_TRACE(c.what);
        if (c.device == 3 && std::filesystem::exists("/dev/video3"))
            GTEST_SKIP() << "this machine has a camera at index 3";
        controller.toggleDevice(0);
        const cv::Mat input = state.images.inputImage;
        const cv::Mat output = state.images.outputImage;
        const MappingGeometry mapping = state.doc.mapping;
        const IntRect axis = state.doc.axis.axisRect;
        log.clear();

        controller.toggleDevice(c.device);

        const std::string d = std::to_string(c.device);
        EXPECT_EQ(
            log, logOf("cv::VideoCapture(" + d + ")\r\nデバイス " + d + " オープンできません\r\n"));
        EXPECT_EQ(controller.runningDevices(), (std::array<bool, 4>{}));
        EXPECT_FALSE(controller.isOpen(c.device));
        EXPECT_EQ(state.images.inputImage.data, input.data);
        EXPECT_EQ(state.images.outputImage.data, output.data);
        EXPECT_EQ(state.doc.mapping.corners, mapping.corners);
        EXPECT_EQ(state.doc.axis.axisRect, axis);
    }
}

TEST_F(CameraControllerTest, ConfirmedSettingsStopTheCamerasAndAskForARestart) {
    const CaptureSettings wanted{1280, 720, 15};
    controller.applyCaptureSettings(wanted);  // no device open: only the values
    EXPECT_EQ(state.capture, wanted);
    EXPECT_TRUE(log.empty());

    controller.toggleDevice(1);
    controller.toggleDevice(1);  // open, stopped
    controller.toggleDevice(0);  // open, running
    log.clear();
    const CaptureSettings next{320, 240, 0};
    controller.applyCaptureSettings(next);
    EXPECT_EQ(state.capture, next);
    EXPECT_EQ(controller.runningDevices(), (std::array<bool, 4>{}));
    EXPECT_TRUE(controller.isOpen(0));
    EXPECT_EQ(log, logOf("カメラ入力を中断しました。\r\nカメラ入力を再開して下さい。\r\n"));
}

TEST_F(CameraControllerTest, StopAllKeepsDevicesOpen) {
    controller.toggleDevice(0);
    controller.stopAll();
    EXPECT_EQ(controller.runningDevices(), (std::array<bool, 4>{}));
    EXPECT_TRUE(controller.isOpen(0));
}

// With the processing output shown but never built, the first tick builds
// it; waiting for it to be present first would leave the view blank.
TEST_F(CameraControllerTest, TickBuildsTheOutputWhileItIsShownEmpty) {
    state.images = {};
    state.display.displaySource = 2;
    controller.toggleDevice(0);
    EXPECT_FALSE(state.imagePresent());
    controller.grabFrame(0);
    ASSERT_TRUE(state.imagePresent());
    EXPECT_EQ(state.display.currentImage, CurrentImage::Output);
    EXPECT_TRUE(sameImage(state.images.outputImage, processed(state.images.inputImage)));
}

// A source that opens but delivers nothing: no image, the camera runs, and
// the corners and rectangles are not collapsed to a 0 x 0 image.
TEST_F(CameraControllerTest, StartWithoutAFrameKeepsTheGeometry) {
    ASSERT_TRUE(test::writeVideo(path("empty.avi"), kW, kH, {}));
    controller.setSourceMap({path("empty.avi"), "", "", ""});
    const MappingGeometry mapping = state.doc.mapping;
    const IntRect axis = state.doc.axis.axisRect;
    controller.toggleDevice(0);
    if (!controller.isOpen(0)) GTEST_SKIP() << "this OpenCV refuses a video without frames";
    EXPECT_TRUE(controller.running(0));
    EXPECT_EQ(log.size(), 2u);
    EXPECT_TRUE(state.images.inputImage.empty());
    EXPECT_FALSE(state.imagePresent());
    EXPECT_EQ(state.doc.mapping.corners, mapping.corners);
    EXPECT_EQ(state.doc.mapping.graphRect, mapping.graphRect);
    EXPECT_EQ(state.doc.axis.axisRect, axis);
    controller.grabFrame(0);  // nothing to process
    EXPECT_EQ(state.images.outputImage.size(), cv::Size(200, 300));
}

}  // namespace
}  // namespace qf
