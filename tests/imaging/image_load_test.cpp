#include <gtest/gtest.h>

#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "imaging/image_file.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"
#include "temp_dir.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

cv::Mat colourPicture(int w, int h) {
    cv::Mat m(h, w, CV_8UC3);
    cv::theRNG().state = 5;
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(256));
    return m;
}

// The view's state that a load touches, set to values a load would change.
class LoadImage : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        images = {colourPicture(10, 10), colourPicture(10, 10)};
        display.displaySource = 2;
        display.showGeneratedGraph = 1;
        display.currentImage = CurrentImage::Output;
        mapping.corners = {{{1, 2}, {3, 4}, {5, 6}, {7, 8}}};
        mapping.method = MappingMethod::Bilinear;
        axisRect = {1, 2, 3, 4};
    }

    LoadResult load(const std::string& file, int greyMode = 1) {
        return loadImageFile(file, images, mapping, axisRect, display, zoomShift, greyMode);
    }

    ImagePair images;
    MappingGeometry mapping;
    IntRect axisRect;
    DisplaySource display;
    int zoomShift = 3;
};

TEST_F(LoadImage, ReplacesTheImagesAndResetsTheView) {
    const cv::Mat picture = colourPicture(64, 48);
    ASSERT_TRUE(cv::imwrite(path("graph.png"), picture));
    const LoadResult r = load(path("graph.png"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.title, "graph.png");
    EXPECT_EQ(r.message, "");

    EXPECT_EQ(cv::norm(images.inputImage, picture, cv::NORM_INF), 0.0);
    cv::Mat grey, want;
    cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
    cv::cvtColor(grey, want, cv::COLOR_GRAY2BGR);
    // Built when first read, not by the load.
    EXPECT_TRUE(images.outputImage.empty());
    ASSERT_EQ(outputImage(images).type(), CV_8UC3);
    EXPECT_EQ(cv::norm(images.outputImage, want, cv::NORM_INF), 0.0);

    EXPECT_EQ(zoomShift, 0);
    EXPECT_EQ(display.displaySource, 1);
    EXPECT_EQ(display.currentImage, CurrentImage::Input);
    EXPECT_EQ(display.showGeneratedGraph, 1);
    EXPECT_EQ(mapping.corners, (Quad{{{8, 8}, {56, 8}, {56, 40}, {8, 40}}}));
    EXPECT_EQ(mapping.graphRect, (IntRect{6, 6, 58, 42}));
    EXPECT_EQ(axisRect, (IntRect{12, 12, 52, 36}));
    EXPECT_EQ(mapping.method, MappingMethod::Bilinear);  // a setting, not geometry
}

TEST_F(LoadImage, GreyModeOffKeepsAPrivateCopy) {
    const cv::Mat picture = colourPicture(20, 10);
    ASSERT_TRUE(cv::imwrite(path("graph.bmp"), picture));
    ASSERT_TRUE(load(path("graph.bmp"), 0).ok);
    EXPECT_EQ(cv::norm(outputImage(images), picture, cv::NORM_INF), 0.0);
    EXPECT_NE(images.outputImage.data, images.inputImage.data);
    images.outputImage.setTo(cv::Scalar::all(0));
    EXPECT_EQ(cv::norm(images.inputImage, picture, cv::NORM_INF), 0.0);
}

// A failed read changes nothing but the current image; the previous images
// stay in memory for a later refresh.
TEST_F(LoadImage, FailureKeepsTheStateAndShowsNoImage) {
    ASSERT_TRUE(cv::imwrite(path("whole.png"), colourPicture(40, 30)));
    fs::copy_file(path("whole.png"), path("truncated.png"));
    fs::resize_file(path("truncated.png"), fs::file_size(path("whole.png")) / 2);
    writeBytes(path("notes.png"), "not a picture\n");
    writeBytes(path("empty.jpg"), "");
    fs::create_directory(path("folder.tif"));
    struct Case {
        const char* name;
        const char* title;
    } cases[] = {
        {"truncated.png", "untitled.png"}, {"notes.png", "untitled.png"},
        {"empty.jpg", "untitled.jpg"},     {"missing.bmp", "untitled.bmp"},
        {"folder.tif", "untitled.tif"},    {"no-extension", "untitled"},
    };
    const cv::Mat input = images.inputImage, output = images.outputImage;
    const MappingGeometry mappingBefore = mapping;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display.currentImage = CurrentImage::Output;
        const LoadResult r = load(path(c.name));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.title, c.title);
        EXPECT_EQ(r.message, "Unable to Open File. ");
        EXPECT_EQ(display.currentImage, CurrentImage::None);
        EXPECT_FALSE(imagePresent(images, display.currentImage));
        EXPECT_EQ(images.inputImage.data, input.data);
        EXPECT_EQ(images.outputImage.data, output.data);
        EXPECT_EQ(display.displaySource, 2);
        EXPECT_EQ(zoomShift, 3);
        EXPECT_EQ(mapping, mappingBefore);
        EXPECT_EQ(axisRect, (IntRect{1, 2, 3, 4}));
    }
    // The refresh after a later display command shows the kept output again.
    selectCurrentImage(display);
    EXPECT_EQ(currentImage(images, display.currentImage), &images.outputImage);
}

TEST_F(LoadImage, JapaneseFolderNamesLoadAndSave) {
    const fs::path folder = dir_ / "日本語のフォルダ";
    fs::create_directory(folder);
    const std::string file = (folder / "グラフ画像.png").string();
    const cv::Mat picture = colourPicture(30, 20);
    const ImageWriteResult w = writeImageFile(file, picture);
    ASSERT_TRUE(w.ok) << w.error;
    ASSERT_TRUE(fs::is_regular_file(folder / "グラフ画像.png"));

    const LoadResult r = load(file, 0);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.title, "グラフ画像.png");
    EXPECT_EQ(cv::norm(images.inputImage, picture, cv::NORM_INF), 0.0);
    EXPECT_EQ(imageTitleName((folder / "無い.bmp").string(), false), "untitled.bmp");
}

TEST(ImageTitle, NameAndExtensionOfTheLastComponent) {
    struct Case {
        const char* path;
        const char* read;
        const char* failed;
    } cases[] = {
        {"/home/u/graph.png", "graph.png", "untitled.png"},
        {"relative.jpeg", "relative.jpeg", "untitled.jpeg"},
        {"/data/archive.tar.gz", "archive.tar.gz", "untitled.gz"},
        {"/data.d/plain", "plain", "untitled"},
        {"/home/u/.hidden", ".hidden", "untitled.hidden"},
        {"/home/u/folder/", "", "untitled"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(imageTitleName(c.path, true), c.read) << c.path;
        EXPECT_EQ(imageTitleName(c.path, false), c.failed) << c.path;
    }
}

TEST(DisplaySelection, CurrentImageFollowsTheDisplaySource) {
    ImagePair images{cv::Mat(2, 2, CV_8UC3), cv::Mat()};
    DisplaySource d;
    for (const auto& [source, want] :
         {std::pair{0, CurrentImage::Input}, std::pair{1, CurrentImage::Input},
          std::pair{2, CurrentImage::Output}}) {
        d.displaySource = source;
        selectCurrentImage(d);
        EXPECT_EQ(d.currentImage, want) << source;
    }
    // Present means a current image with pixels.
    EXPECT_FALSE(imagePresent(images, CurrentImage::Output));
    EXPECT_TRUE(imagePresent(images, CurrentImage::Input));
    EXPECT_FALSE(imagePresent(images, CurrentImage::None));
    EXPECT_EQ(currentImage(images, CurrentImage::None), nullptr);
}

}  // namespace
}  // namespace qf
