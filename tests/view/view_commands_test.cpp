#include "view/view_commands.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <opencv2/imgproc.hpp>

namespace qf {
namespace {

// A view showing a 1000 x 800 picture, as after a load.
ViewState withPicture() {
    ViewState s;
    s.images.inputImage = cv::Mat(800, 1000, CV_8UC3, cv::Scalar(10, 20, 30));
    s.images.outputImage = s.images.inputImage.clone();
    refreshDisplay(s);
    return s;
}

TEST(ViewCommands, ToolsSetOneFlagAndTheirDisplaySource) {
    struct Case {
        Tool tool;
        int source;
    } cases[] = {
        {Tool::Corners, 1},
        {Tool::GraphRect, 2},
        {Tool::AddPoints, 2},
        {Tool::ErasePoints, 2},
    };
    for (const Case& c : cases) {
        ViewState s = withPicture();
        s.tools.tool = Tool::Extract;
        selectTool(s, c.tool);
        EXPECT_EQ(s.tools.tool, c.tool);
        EXPECT_EQ(s.display.displaySource, c.source);
        EXPECT_EQ(s.display.currentImage,
                  c.source == 2 ? CurrentImage::Output : CurrentImage::Input);
    }
}

TEST(ViewCommands, DisplayTogglesPassThroughTheWhiteArea) {
    ViewState s = withPicture();
    toggleInputDisplay(s);
    EXPECT_EQ(s.display.displaySource, 0);
    EXPECT_EQ(s.display.currentImage, CurrentImage::Input);  // sizes still from the input
    toggleInputDisplay(s);
    EXPECT_EQ(s.display.displaySource, 1);
    toggleOutputDisplay(s);
    EXPECT_EQ(s.display.displaySource, 2);
    EXPECT_EQ(s.display.currentImage, CurrentImage::Output);
    toggleOutputDisplay(s);
    EXPECT_EQ(s.display.displaySource, 0);
    toggleMappingGrid(s);
    EXPECT_EQ(s.display.displaySource, 1);
    EXPECT_EQ(s.guide.showMappingGrid, 0);
    EXPECT_EQ(s.tools.tool, Tool::Corners);  // tools untouched
}

TEST(ViewCommands, ScrollSizesFollowZoomAndKeepThemForAnEmptyImage) {
    ViewState s = withPicture();
    s.transform.zoomShift = 1;
    refreshDisplay(s);
    EXPECT_EQ(s.transform.displaySize, (IntSize{2000, 1600}));
    EXPECT_EQ(s.transform.cellSize, (IntSize{2, 2}));
    updateScrollSizes(s, {0, 0});
    EXPECT_EQ(s.transform.displaySize, (IntSize{2000, 1600}));
}

TEST(ViewCommands, MappingShowsTheResultWithTheGraphRectangleTool) {
    ViewState s = withPicture();
    s.doc.mapping.corners = {{{0, 0}, {1000, 0}, {1000, 800}, {0, 800}}};
    s.doc.mapping.graphRect = {100, 100, 200, 200};
    runMappingCommand(s);
    EXPECT_EQ(s.display.displaySource, 2);
    EXPECT_EQ(s.tools.tool, Tool::GraphRect);
    EXPECT_EQ(s.images.outputImage.at<cv::Vec3b>(0, 0), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(s.images.outputImage.at<cv::Vec3b>(150, 150), cv::Vec3b(10, 20, 30));

    ViewState empty;
    runMappingCommand(empty);
    EXPECT_EQ(empty.tools.tool, Tool::Corners);
    EXPECT_EQ(empty.display.displaySource, 1);
}

TEST(ViewCommands, ProcessingWithoutAnImageOnlySwitchesTheDisplay) {
    ViewState s;
    runProcessingCommand(s);
    EXPECT_EQ(s.display.displaySource, 2);
    EXPECT_EQ(s.tools.tool, Tool::None);
    EXPECT_TRUE(s.images.inputImage.empty());
    EXPECT_TRUE(s.images.outputImage.empty());
}

TEST(ViewCommands, GreyToggleRebuildsTheOutput) {
    ViewState s = withPicture();
    toggleGreyMode(s);
    EXPECT_EQ(s.greyMode, 0);
    EXPECT_EQ(cv::norm(outputImage(s.images), s.images.inputImage, cv::NORM_INF), 0);
    toggleGreyMode(s);
    const cv::Vec3b grey = outputImage(s.images).at<cv::Vec3b>(0, 0);
    EXPECT_EQ(grey[0], grey[1]);
    EXPECT_EQ(grey[1], grey[2]);
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

TEST(ViewCommands, FileFailuresNameTheFile) {
    struct Case {
        int err;
        const char* text;
    } cases[] = {
        {EACCES, "/d/a.csv へのアクセスは拒否されました。"},
        {EPERM, "/d/a.csv へのアクセスは拒否されました。"},
        {EROFS, "/d/a.csv は使用中または読み取り専用のため、書き込めません。"},
        {EBUSY, "/d/a.csv は使用中または読み取り専用のため、書き込めません。"},
        {ENOSPC, "/d/a.csv に書き込めませんでした。\nNo space left on device"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileWriteFailureText("/d/a.csv", c.err, std::strerror(c.err)), c.text) << c.err;
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

// At a reduced zoom a click meant for a thin curve lands beside it: the
// extraction takes it to the curve within three screen pixels.
TEST(ViewCommands, AClickBesideAThinCurveFindsItAtAReducedZoom) {
    cv::Mat picture(300, 400, CV_8UC3, cv::Scalar::all(255));
    cv::line(picture, {40, 150}, {360, 150}, cv::Scalar(200, 60, 20), 1);
    struct Case {
        int zoom;
        int offBy;  // image pixels between the click and the line
        bool found;
    } cases[] = {{0, 2, true}, {0, 6, false}, {-1, 5, true}, {-2, 10, true}, {-2, 14, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " off by " << c.offBy);
        ViewState s;
        s.images = {picture.clone(), picture.clone()};
        s.display.displaySource = 2;
        s.display.currentImage = CurrentImage::Output;
        s.doc.axis.axisRect = {20, 20, 380, 280};
        s.doc.mapping.graphRect = {20, 20, 380, 280};
        s.transform.zoomShift = c.zoom;
        const std::string error = previewExtraction(s, {200, 150 + c.offBy});
        EXPECT_EQ(error.empty(), c.found) << error;
        EXPECT_EQ(s.extractPreview.shown(), c.found);
    }
    // Only ground around the click: it stays where it is.
    const cv::Mat white(50, 50, CV_8UC3, cv::Scalar::all(255));
    EXPECT_EQ(snapToInk(white, {25, 25}, 12), (IntPoint{25, 25}));
}

}  // namespace
}  // namespace qf
