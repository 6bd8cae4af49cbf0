#include "imaging/processing.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>

namespace qf {

namespace {

// The current image gates the command; the input is what is read. Both are
// checked so a stale selection never feeds an empty input to OpenCV.
bool canRun(const ImagePair& images, CurrentImage current) {
    return imagePresent(images, current) && !images.inputImage.empty();
}

}  // namespace

void convertGrey(ImagePair& images, CurrentImage current, bool greyMode) {
    if (!canRun(images, current)) return;
    images.outputImage.release();
    images.pendingOutput = !greyMode ? PendingOutput::Copy : PendingOutput::Grey;
}

cv::Mat greyRendering(const cv::Mat& bgr) {
    // A fresh Mat: cvtColor could otherwise write into a buffer shared with
    // the input. Converted in bands of rows, so the one-channel intermediate
    // stays small beside a picture of many megapixels.
    cv::Mat output(bgr.size(), CV_8UC3);
    constexpr int kBandRows = 64;
    cv::Mat grey;
    for (int top = 0; top < bgr.rows; top += kBandRows) {
        const cv::Range rows(top, std::min(bgr.rows, top + kBandRows));
        cv::cvtColor(bgr.rowRange(rows), grey, cv::COLOR_BGR2GRAY);
        cv::Mat band = output.rowRange(rows);
        cv::cvtColor(grey, band, cv::COLOR_GRAY2BGR);
    }
    return output;
}

void runProcessing(ImagePair& images, CurrentImage current) {
    if (!canRun(images, current)) return;
    images.pendingOutput = PendingOutput::None;
    cv::Mat grey;
    cv::cvtColor(images.inputImage, grey, cv::COLOR_BGR2GRAY);
    cv::Mat binary;
    cv::adaptiveThreshold(grey, binary, 255.0, cv::ADAPTIVE_THRESH_GAUSSIAN_C, cv::THRESH_BINARY,
                          15, 2.0);
    cv::Mat output;
    cv::cvtColor(binary, output, cv::COLOR_GRAY2BGR);
    images.outputImage = output;
}

}  // namespace qf
