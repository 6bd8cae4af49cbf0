#include "imaging/image_pair.h"

#include "common/translate.h"
#include "imaging/image_file.h"
#include "imaging/mapping.h"
#include "imaging/processing.h"

namespace qf {

const cv::Mat& outputImage(const ImagePair& images) {
    settleOutput(images);
    return images.m_outputImage;
}

void settleOutput(const ImagePair& images) {
    const PendingOutput pending = images.m_pendingOutput;
    if (pending == PendingOutput::None) return;
    images.m_pendingOutput = PendingOutput::None;
    images.m_outputImage = pending == PendingOutput::Grey ? greyRendering(images.m_inputImage)
                                                          : images.m_inputImage.clone();
}

const cv::Mat* currentImage(const ImagePair& images, CurrentImage current) {
    switch (current) {
        case CurrentImage::Input:
            return &images.m_inputImage;
        case CurrentImage::Output:
            return &outputImage(images);
        case CurrentImage::None:
            break;
    }
    return nullptr;
}

bool imagePresent(const ImagePair& images, CurrentImage current) {
    // A pending output will have the input's size: no need to build it to know.
    if (current == CurrentImage::Output && images.m_pendingOutput != PendingOutput::None)
        return !images.m_inputImage.empty();
    const cv::Mat* image = currentImage(images, current);
    return image != nullptr && !image->empty();
}

cv::Size currentImageSize(const ImagePair& images, CurrentImage current) {
    if (!imagePresent(images, current)) return {};
    const cv::Mat& image = current == CurrentImage::Output &&
                                   images.m_pendingOutput != PendingOutput::None
                               ? images.m_inputImage
                               : *currentImage(images, current);
    return image.size();
}

void selectCurrentImage(DisplaySource& display) {
    display.m_currentImage =
        display.m_displaySource == 2 ? CurrentImage::Output : CurrentImage::Input;
}

std::string imageTitleName(const std::string& path, bool read) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (read) return name;
    const std::size_t dot = name.find_last_of('.');
    return "untitled" + (dot == std::string::npos ? std::string() : name.substr(dot));
}

void installLoadedImage(cv::Mat picture, ImagePair& images, MappingQuad& mapping,
                        IntRect& axisRect, DisplaySource& display, int& zoomShift,
                        int greyMode) {
    images.m_inputImage = std::move(picture);
    zoomShift = 0;
    // Until the refresh the picture just read is the current image, so the
    // grey conversion's guard lets it run.
    display.m_currentImage = CurrentImage::Input;
    convertGrey(images, display.m_currentImage, greyMode);
    display.m_displaySource = 1;
    selectCurrentImage(display);
    resetMappingForImage(images.m_inputImage.cols, images.m_inputImage.rows, mapping, axisRect);
}

LoadResult loadImageFile(const std::string& path, ImagePair& images, MappingQuad& mapping,
                         IntRect& axisRect, DisplaySource& display, int& zoomShift, int greyMode) {
    const int64_t limit = maxPicturePixels();
    PictureFileRead read = readPictureFile(path, limit);
    if (read.image.empty()) {
        display.m_currentImage = CurrentImage::None;
        std::string message = translate("qf::Messages", kUnableToOpenFile);
        if (read.tooLarge)
            message += "The picture is " + pictureSizeText(read.width, read.height, limit) + ".";
        return {false, imageTitleName(path, false), message};
    }
    installLoadedImage(std::move(read.image), images, mapping, axisRect, display, zoomShift,
                       greyMode);
    return {true, imageTitleName(path, true), {}};
}

}  // namespace qf
