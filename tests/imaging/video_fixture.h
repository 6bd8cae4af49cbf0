#pragma once
// Small video files written at test time, to stand in for a camera.

#include <gtest/gtest.h>

#include <opencv2/core.hpp>
#include <opencv2/videoio.hpp>
#include <string>
#include <vector>

namespace qf::test {

// Uniform frames of these colours, in order (BGR).
inline const std::vector<cv::Vec3b> kFrameColours = {
    {0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {40, 120, 200}};

// Writes the frames (all w x h, 8-bit BGR) into path (.avi) at 15 frames per
// second. Lossless FFV1 where the encoder has it, else MJPG; compare pixels
// with a tolerance either way.
inline bool writeFrames(const std::string& path, int w, int h, const std::vector<cv::Mat>& frames) {
    for (int fourcc : {cv::VideoWriter::fourcc('F', 'F', 'V', '1'),
                       cv::VideoWriter::fourcc('M', 'J', 'P', 'G')}) {
        cv::VideoWriter writer(path, cv::CAP_FFMPEG, fourcc, 15.0, cv::Size(w, h));
        if (!writer.isOpened()) continue;
        for (const cv::Mat& f : frames) writer << f;
        return true;
    }
    return false;
}

// One uniform frame per colour.
inline bool writeVideo(const std::string& path, int w, int h,
                       const std::vector<cv::Vec3b>& colours = kFrameColours) {
    std::vector<cv::Mat> frames;
    for (const cv::Vec3b& c : colours) frames.emplace_back(h, w, CV_8UC3, cv::Scalar(c));
    return writeFrames(path, w, h, frames);
}

// The frame is uniformly (within what a codec may change) this colour.
inline ::testing::AssertionResult hasColour(const cv::Mat& frame, cv::Vec3b colour) {
    if (frame.empty()) return ::testing::AssertionFailure() << "empty frame";
    if (frame.type() != CV_8UC3) return ::testing::AssertionFailure() << "type " << frame.type();
    cv::Mat diff;
    cv::absdiff(frame, cv::Scalar(colour), diff);
    double worst = 0;
    cv::minMaxLoc(diff.reshape(1), nullptr, &worst);
    if (worst > 8)
        return ::testing::AssertionFailure()
               << "pixel " << frame.at<cv::Vec3b>(0, 0) << " vs " << colour << ", off by " << worst;
    return ::testing::AssertionSuccess();
}

}  // namespace qf::test
