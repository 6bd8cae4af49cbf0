#include "imaging/picture_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <opencv2/imgproc.hpp>

namespace qf {
namespace {

bool alignedToHugePage(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) % (std::uintptr_t(2) << 20) == 0;
}

// A picture with something in every pixel, so copies and conversions show.
cv::Mat pattern(int rows, int cols) {
    cv::Mat m(rows, cols, CV_8UC3);
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(256));
    return m;
}

class PictureMemoryTest : public ::testing::Test {
protected:
    void SetUp() override { usePageBuffersForPictures(); }
    void TearDown() override { cv::Mat::setDefaultAllocator(cv::Mat::getStdAllocator()); }
};

TEST_F(PictureMemoryTest, LargePicturesTakeAlignedBlocksAndSmallOnesDoNot) {
    const cv::Mat large(960, 1280, CV_8UC3);
    EXPECT_TRUE(alignedToHugePage(large.data));
    EXPECT_TRUE(large.isContinuous());
    EXPECT_EQ(large.step[0], std::size_t(1280 * 3));
    const cv::Mat small(10, 10, CV_8UC3);
    EXPECT_NE(small.u->currAllocator, large.u->currAllocator);
}

TEST_F(PictureMemoryTest, OpenCvWorksOnThemAsOnItsOwn) {
    cv::Mat::setDefaultAllocator(cv::Mat::getStdAllocator());
    const cv::Mat source = pattern(700, 900);
    cv::Mat greyStd, bigStd;
    cv::cvtColor(source, greyStd, cv::COLOR_BGR2GRAY);
    cv::resize(source, bigStd, {1800, 1400}, 0, 0, cv::INTER_NEAREST);

    usePageBuffersForPictures();
    cv::Mat grey, big;
    cv::cvtColor(source, grey, cv::COLOR_BGR2GRAY);
    cv::resize(source, big, {1800, 1400}, 0, 0, cv::INTER_NEAREST);
    EXPECT_TRUE(alignedToHugePage(big.data));
    EXPECT_EQ(cv::norm(grey, greyStd, cv::NORM_INF), 0);
    EXPECT_EQ(cv::norm(big, bigStd, cv::NORM_INF), 0);
    // A part of it, and a clone of the part.
    const cv::Mat part = big(cv::Rect(100, 200, 1500, 1000));
    EXPECT_EQ(cv::norm(part.clone(), bigStd(cv::Rect(100, 200, 1500, 1000)), cv::NORM_INF), 0);
}

TEST_F(PictureMemoryTest, APictureOutlivesTheChoiceOfAllocator) {
    cv::Mat kept = pattern(1000, 1000);
    const cv::Mat copy = kept.clone();
    // Made with the block allocator, given back to it after the switch;
    // what is made after the switch is OpenCV's own.
    cv::Mat::setDefaultAllocator(cv::Mat::getStdAllocator());
    cv::Mat grown;
    cv::resize(kept, grown, {2000, 2000}, 0, 0, cv::INTER_NEAREST);
    EXPECT_EQ(cv::norm(kept, copy, cv::NORM_INF), 0);
    EXPECT_TRUE(alignedToHugePage(kept.data));
    kept.release();
    EXPECT_EQ(grown.u->currAllocator, cv::Mat::getStdAllocator());
}

}  // namespace
}  // namespace qf
