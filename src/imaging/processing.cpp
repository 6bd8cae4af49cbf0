#include "imaging/processing.h"

#include <opencv2/imgproc.hpp>

namespace qf {

namespace {

// The current image gates the command; the input is what is read. Both are
// checked so a stale selection never feeds an empty input to OpenCV.
bool canRun(const ImagePair& images, CurrentImage current) {
    return imagePresent(images, current) && !images.m_inputImage.empty();
}

}  // namespace

void convertGrey(ImagePair& images, CurrentImage current, int greyMode) {
    if (!canRun(images, current)) return;
    if (greyMode == 0) {
        images.m_outputImage = images.m_inputImage.clone();
        return;
    }
    cv::Mat grey;
    cv::cvtColor(images.m_inputImage, grey, cv::COLOR_BGR2GRAY);
    // A fresh Mat: cvtColor could otherwise write into a buffer shared with the input.
    cv::Mat output;
    cv::cvtColor(grey, output, cv::COLOR_GRAY2BGR);
    images.m_outputImage = output;
}

void runProcessing(ImagePair& images, CurrentImage current) {
    if (!canRun(images, current)) return;
    cv::Mat grey;
    cv::cvtColor(images.m_inputImage, grey, cv::COLOR_BGR2GRAY);
    cv::Mat binary;
    cv::adaptiveThreshold(grey, binary, 255.0, cv::ADAPTIVE_THRESH_GAUSSIAN_C, cv::THRESH_BINARY,
                          15, 2.0);
    cv::Mat output;
    cv::cvtColor(binary, output, cv::COLOR_GRAY2BGR);
    images.m_outputImage = output;
}

}  // namespace qf
