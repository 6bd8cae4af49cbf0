#include "imaging/processing.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

namespace qf {
namespace {

cv::Mat uniform(int w, int h, cv::Vec3b colour) {
    return cv::Mat(h, w, CV_8UC3, cv::Scalar(colour[0], colour[1], colour[2]));
}

bool sharesMemory(const cv::Mat& a, const cv::Mat& b) {
    const uint8_t* aEnd = a.data + a.step[0] * a.rows;
    const uint8_t* bEnd = b.data + b.step[0] * b.rows;
    return a.data < bEnd && b.data < aEnd;
}

bool channelsEqual(const cv::Mat& m) {
    std::vector<cv::Mat> c;
    cv::split(m, c);
    return cv::countNonZero(c[0] != c[1]) == 0 && cv::countNonZero(c[0] != c[2]) == 0;
}

// Blue, green, red, white, black, and a mixed colour, side by side.
cv::Mat colourStrip() {
    cv::Mat m(1, 6, CV_8UC3);
    const cv::Vec3b colours[] = {{255, 0, 0},     {0, 255, 0}, {0, 0, 255},
                                 {255, 255, 255}, {0, 0, 0},   {40, 120, 200}};
    for (int x = 0; x < 6; ++x) m.at<cv::Vec3b>(0, x) = colours[x];
    return m;
}

TEST(ConvertGrey, GreyModeGivesLuminanceInThreeEqualChannels) {
    ImagePair images{colourStrip(), {}};
    convertGrey(images, CurrentImage::Input, 1);
    const cv::Mat& out = outputImage(images);
    ASSERT_EQ(out.type(), CV_8UC3);
    ASSERT_EQ(out.size(), images.inputImage.size());
    EXPECT_TRUE(channelsEqual(out));
    // 0.114 B + 0.587 G + 0.299 R, rounded.
    const int want[] = {29, 150, 76, 255, 0, 135};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(out.at<cv::Vec3b>(0, x)[0], want[x]) << "column " << x;
    EXPECT_FALSE(sharesMemory(out, images.inputImage));
}

TEST(ConvertGrey, GreyModeOffCopiesTheInputIntoItsOwnMemory) {
    ImagePair images{colourStrip(), {}};
    convertGrey(images, CurrentImage::Output, 1);  // nothing displayed yet: no image present
    EXPECT_TRUE(outputImage(images).empty());
    convertGrey(images, CurrentImage::Input, 0);
    ASSERT_EQ(outputImage(images).size(), images.inputImage.size());
    EXPECT_EQ(cv::norm(images.outputImage, images.inputImage, cv::NORM_INF), 0.0);
    EXPECT_FALSE(sharesMemory(images.outputImage, images.inputImage));
}

// Turning grey mode off and on again rebuilds the grey rendering from the
// input, whatever the output held in between.
TEST(ConvertGrey, RebuildsFromTheInputEachTime) {
    ImagePair images{colourStrip(), {}};
    convertGrey(images, CurrentImage::Input, 1);
    const cv::Mat grey = outputImage(images).clone();
    images.outputImage.setTo(cv::Scalar(1, 2, 3));  // a mapped output, say
    convertGrey(images, CurrentImage::Output, 0);
    convertGrey(images, CurrentImage::Output, 1);
    EXPECT_EQ(cv::norm(outputImage(images), grey, cv::NORM_INF), 0.0);
}

// The grey rendering is built only when something reads the output: a
// picture that is mapped, or processed, straight away never costs a grey copy,
// and the size of the pending output is known without building it.
TEST(ConvertGrey, IsBuiltWhenTheOutputIsFirstRead) {
    cv::Mat big(300, 400, CV_8UC3, cv::Scalar(40, 120, 200));
    ImagePair images{big, big.clone()};
    convertGrey(images, CurrentImage::Input, 1);
    EXPECT_TRUE(images.outputImage.empty());  // the old output is dropped at once
    EXPECT_TRUE(imagePresent(images, CurrentImage::Output));
    EXPECT_EQ(currentImageSize(images, CurrentImage::Output), cv::Size(400, 300));
    EXPECT_TRUE(images.outputImage.empty());

    runProcessing(images, CurrentImage::Input);
    EXPECT_EQ(images.pendingOutput, PendingOutput::None);
    EXPECT_EQ(cv::countNonZero(outputImage(images).reshape(1) != 255), 0);  // processed, not grey

    // Wider than the bands it is converted in, and an odd height.
    cv::Mat tall(131, 3, CV_8UC3);
    cv::randu(tall, cv::Scalar::all(0), cv::Scalar::all(256));
    ImagePair pair{tall, {}};
    convertGrey(pair, CurrentImage::Input, 1);
    cv::Mat grey, want;
    cv::cvtColor(tall, grey, cv::COLOR_BGR2GRAY);
    cv::cvtColor(grey, want, cv::COLOR_GRAY2BGR);
    EXPECT_EQ(cv::norm(*currentImage(pair, CurrentImage::Output), want, cv::NORM_INF), 0.0);
}

TEST(RunProcessing, UniformPicturesTurnAllWhite) {
    for (const cv::Vec3b& c : {cv::Vec3b(0, 0, 0), cv::Vec3b(1, 1, 1), cv::Vec3b(128, 128, 128),
                               cv::Vec3b(255, 255, 255), cv::Vec3b(30, 90, 200)}) {
        ImagePair images{uniform(40, 30, c), {}};
        runProcessing(images, CurrentImage::Input);
        const cv::Mat& out = images.outputImage;
        ASSERT_EQ(out.type(), CV_8UC3);
        ASSERT_EQ(out.size(), cv::Size(40, 30));
        EXPECT_EQ(cv::countNonZero(out.reshape(1) != 255), 0) << c;
    }
}

// A dark line on paper: the line turns black, the paper white, stored as
// three equal channels and nothing but 0 and 255.
TEST(RunProcessing, DarkLineOnPaperBecomesBlackOnWhite) {
    cv::Mat in = uniform(60, 40, {200, 210, 220});
    cv::line(in, {5, 20}, {55, 20}, cv::Scalar(40, 40, 40), 2);
    ImagePair images{in, {}};
    runProcessing(images, CurrentImage::Input);
    const cv::Mat& out = images.outputImage;
    ASSERT_EQ(out.type(), CV_8UC3);
    EXPECT_TRUE(channelsEqual(out));
    EXPECT_EQ(cv::countNonZero((out.reshape(1) != 0) & (out.reshape(1) != 255)), 0);
    EXPECT_EQ(out.at<cv::Vec3b>(20, 30), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(out.at<cv::Vec3b>(5, 30), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(out.at<cv::Vec3b>(35, 3), cv::Vec3b(255, 255, 255));
    EXPECT_FALSE(sharesMemory(out, images.inputImage));
    EXPECT_EQ(cv::norm(images.inputImage, in, cv::NORM_INF), 0.0);
}

TEST(RunProcessing, DoesNothingWithoutAnImage) {
    const cv::Mat input = uniform(8, 8, {10, 20, 30});
    const cv::Mat output = uniform(8, 8, {1, 2, 3});
    ImagePair images{input, output};
    runProcessing(images, CurrentImage::None);
    EXPECT_EQ(images.outputImage.data, output.data);
    EXPECT_EQ(images.outputImage.at<cv::Vec3b>(0, 0), cv::Vec3b(1, 2, 3));

    ImagePair empty;
    runProcessing(empty, CurrentImage::Input);
    convertGrey(empty, CurrentImage::Input, 1);
    EXPECT_TRUE(empty.inputImage.empty());
    EXPECT_TRUE(empty.outputImage.empty());
}

}  // namespace
}  // namespace qf
